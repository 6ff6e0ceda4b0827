// Find my cable: the port lists seen while the user unplugs the cable and
// plugs it in again, and the port that is the cable's.
#include "link/PortList.h"
#include "link/Transfer.h"

#include <gtest/gtest.h>

namespace kt {
namespace {

TEST(CableFinder, ThePortThatWentAndCameBackOrAppeared)
{
    const QString sim = kSimulatedPortKey;
    struct Case {
        const char* what;
        QStringList start;
        QList<QStringList> polls;   // what each poll saw
        QString found;              // empty: still looking after the last poll
    };
    const Case cases[] = {
        {"unplugged and back", {"ttyS0", "ttyUSB0", sim}, {{"ttyS0", "ttyUSB0", sim}, {"ttyS0", sim}, {"ttyS0", sim},
                                                           {"ttyS0", "ttyUSB0", sim}}, "ttyUSB0"},
        {"back under another name", {"ttyS0", "ttyUSB0", sim}, {{"ttyS0", sim}, {"ttyS0", "ttyUSB1", sim}}, "ttyUSB1"},
        {"not plugged in at the start", {"ttyS0", sim}, {{"ttyS0", sim}, {"ttyS0", "ttyACM0", sim}}, "ttyACM0"},
        {"of two cables the one unplugged", {"ttyUSB0", "ttyUSB1"}, {{"ttyUSB0"}, {"ttyUSB0", "ttyUSB1"}}, "ttyUSB1"},
        {"unplugged, not back yet", {"ttyS0", "ttyUSB0"}, {{"ttyS0"}, {"ttyS0"}}, ""},
        {"nothing happens", {"ttyS0", "ttyUSB0", sim}, {{"ttyS0", "ttyUSB0", sim}, {"ttyUSB0", "ttyS0", sim}}, ""},
        {"the simulated radio is no cable", {"ttyS0", sim}, {{"ttyS0"}, {"ttyS0", sim}}, ""},
    };
    for (const Case& c : cases) {
        CableFinder f;
        f.Start(c.start);
        CableFinder::State s = f.Current();
        for (const QStringList& now : c.polls) s = f.Feed(now);
        EXPECT_EQ(s == CableFinder::State::Found, !c.found.isEmpty()) << c.what;
        EXPECT_EQ(f.Found(), c.found) << c.what;
    }
    // Once found it stays found, whatever comes after.
    CableFinder f;
    f.Start({"ttyUSB0"});
    f.Feed({});
    ASSERT_EQ(f.Feed({"ttyUSB0"}), CableFinder::State::Found);
    EXPECT_EQ(f.Feed({}), CableFinder::State::Found);
    EXPECT_EQ(f.Found(), QString("ttyUSB0"));
    EXPECT_EQ(f.Gone(), QStringList{"ttyUSB0"});
}

}  // namespace
}  // namespace kt
