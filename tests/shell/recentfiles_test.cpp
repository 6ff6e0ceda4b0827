// The recent-files list: newest first, each pair once however it is spelt,
// at most eight, and the folder the dialogs start in.
#include "shell/RecentFiles.h"
#include "TestSupport.h"

#include <QSettings>
#include <gtest/gtest.h>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace kt {
namespace {

TEST(RecentFiles, NewestFirstOnceEachAtMostEight)
{
    test::TempInstall inst;
    QSettings store(inst.path("user.ini"), QSettings::IniFormat);
    RecentFiles recent(store);
    const QString d = inst.path("jobs");
    for (int i = 1; i <= 10; ++i) recent.Add(d + QString("/job%1.dat").arg(i));
    recent.Add(d + "/sub/../job4.dat");   // job4 again, spelt otherwise: to the top

    QStringList want;
    for (int i : {4, 10, 9, 8, 7, 6, 5, 3}) want << d + QString("/job%1.dat").arg(i);
    EXPECT_EQ(recent.Files(), want);
    EXPECT_EQ(recent.Files().size(), RecentFiles::kMax);
    EXPECT_EQ(recent.LastFolder(), d);

    recent.Remove(d + "/job10.dat");
    EXPECT_FALSE(recent.Files().contains(d + "/job10.dat"));
    EXPECT_EQ(recent.Files().size(), RecentFiles::kMax - 1);

    // Kept in the store: a second reader sees the same list.
    QSettings again(inst.path("user.ini"), QSettings::IniFormat);
    EXPECT_EQ(RecentFiles(again).Files(), recent.Files());
    recent.SetLastFolder(inst.path("elsewhere"));
    EXPECT_EQ(RecentFiles(again).LastFolder(), inst.path("elsewhere"));
}

}  // namespace
}  // namespace kt
