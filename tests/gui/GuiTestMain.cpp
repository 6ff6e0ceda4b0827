// main() of the GUI test executables: a QApplication on the offscreen platform.
#include <QApplication>
#include <QClipboard>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Each test starts with an empty clipboard, as a test run alone does.
class ClearClipboard : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { QGuiApplication::clipboard()->clear(); }
};

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The user's data and settings folders of a test are its own (the
    // backups of every read and write land there), never the home folder's.
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.filePath("data").toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", home.filePath("config").toLocal8Bit());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new ClearClipboard);
    return RUN_ALL_TESTS();
}
