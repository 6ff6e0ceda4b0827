#include "model/Workspace.h"
#include <gtest/gtest.h>

namespace kt {

TEST(Workspace, GroupSizesPerBand)
{
    struct Case { int band, group, size; } cases[] = {
        {0, 1, 40}, {0, 15, 40}, {0, 16, 99}, {0, 17, 1}, {1, 12, 40}, {1, 13, 99}, {1, 14, 1}};
    for (const auto& c : cases) EXPECT_EQ(GroupSize(c.band, c.group), c.size) << c.band << "/" << c.group;
}

}  // namespace kt
