#include "base/ListHelpers.h"
#include <gtest/gtest.h>

namespace kt {

TEST(ListHelpers, EntryAtIndexFallsBackToFirst)
{
    const QStringList l{"OFF", "ON"};
    EXPECT_EQ(ListTextAt(l, 1), "ON");
    EXPECT_EQ(ListTextAt(l, 2), "OFF");
    EXPECT_EQ(ListTextAt(l, -1), "OFF");
    EXPECT_EQ(ListTextAt({}, 0), "");
    EXPECT_EQ(ListTextMatching(l, "ON"), "ON");
    EXPECT_EQ(ListTextMatching(l, "on"), "OFF");
    EXPECT_EQ(ListTextMatching({}, "x"), "");
}

TEST(ListHelpers, NumbersUseThePointWhateverTheLocale)
{
    struct Case { const char* text; double expected; } cases[] = {
        {"12", 12}, {" 3.5 ", 3.5}, {".5", 0.5}, {"-2", -2}, {"1,5", -1}, {"abc", -1},
        {"", -1}, {"1e3", -1}, {"7.", 7}};
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(NumberOr(c.text, -1), c.expected) << c.text;
}

}  // namespace kt
