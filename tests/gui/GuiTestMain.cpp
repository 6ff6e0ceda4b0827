// main() of the GUI test executables: a QApplication on the offscreen platform.
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QRegularExpression>
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
    // KT_TEST_SCREEN=1366x768@1 (width x height @ scale): the offscreen
    // screen has that size and the program runs at that scale.
    const QRegularExpressionMatch m =
        QRegularExpression("^(\\d+)x(\\d+)@([\\d.]+)$").match(qEnvironmentVariable("KT_TEST_SCREEN"));
    if (m.hasMatch()) {
        QFile config(home.filePath("screen.json"));
        if (config.open(QIODevice::WriteOnly))
            config.write(QStringLiteral(R"({"screens": [{"name": "screen", "x": 0, "y": 0, "width": %1, "height": %2,)"
                                        R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
                             .arg(m.captured(1), m.captured(2)).toUtf8());
        config.close();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit());
        qputenv("QT_SCALE_FACTOR", m.captured(3).toLatin1());
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new ClearClipboard);
    return RUN_ALL_TESTS();
}
