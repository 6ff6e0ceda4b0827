// kt6383 beep and kt6383 report run as programs in a temporary installation root.
#include "TestSupport.h"

#include <QDir>
#include <gtest/gtest.h>

namespace kt {
namespace {

class PaperTool : public ::testing::Test {
protected:
    test::TempInstall install;
    QString P(const QString& name) const { return install.path(name); }

    // Without a display, as on a server.
    test::ToolRun Tool(const QStringList& args) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.remove("QT_QPA_PLATFORM");
        return test::RunTool(install, args, {.environment = env});
    }
    void SetUp() override { ASSERT_EQ(Tool({"new", P("job.dat")}).code, 0); }
};

TEST_F(PaperTool, BeepWritesThePatternOrSaysWhatIsWrong)
{
    // Pattern 1 of the defaults: 2100 Hz / 100 ms and 100 ms rests, seven steps, one run, no pause.
    ASSERT_EQ(Tool({"beep", P("job.dat"), "1", P("one.wav")}).code, 0);
    const QByteArray one = test::ReadFile(P("one.wav"));
    EXPECT_TRUE(one.startsWith("RIFF"));
    EXPECT_EQ(one.size(), 44 + 700 * 48 * 2);
    const test::ToolRun piped = Tool({"beep", P("job.dat"), "1", "-", "--runs", "3"});
    EXPECT_EQ(piped.code, 0);
    EXPECT_EQ(piped.out.size(), 44 + 3 * 700 * 48 * 2);
    EXPECT_EQ(piped.out.mid(44, one.size() - 44), one.mid(44));

    for (const char* n : {"9", "0", "6"}) {
        const test::ToolRun r = Tool({"beep", P("job.dat"), n, P("bad.wav")});
        EXPECT_EQ(r.code, 1) << n;
        EXPECT_TRUE(r.err.contains("job.dat") && r.err.contains("pattern " + QString(n))) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(P("bad.wav")));
    }
    const test::ToolRun unwritable = Tool({"beep", P("job.dat"), "1", P("no/such/dir/x.wav")});
    EXPECT_EQ(unwritable.code, 1);
    EXPECT_TRUE(unwritable.err.contains("x.wav: cannot be written")) << unwritable.err.toStdString();
    EXPECT_EQ(Tool({"beep", P("job.dat"), "one", P("x.wav")}).code, 2);
    EXPECT_EQ(Tool({"beep", P("job.dat"), "1", P("x.wav"), "--runs", "0"}).code, 2);
    EXPECT_EQ(Tool({"beep", P("job.dat"), "1"}).code, 2);
}

TEST_F(PaperTool, ReportWritesAPdfWithoutADisplay)
{
    const test::ToolRun en = Tool({"report", P("job.dat"), P("en.pdf")});
    ASSERT_EQ(en.code, 0) << en.err.toStdString();
    const test::ToolRun zh = Tool({"report", P("job.dat"), P("zh.pdf"), "--paper", "letter", "--language", "zh"});
    ASSERT_EQ(zh.code, 0) << zh.err.toStdString();
    const QByteArray a4 = test::ReadFile(P("en.pdf")), letter = test::ReadFile(P("zh.pdf"));
    EXPECT_TRUE(a4.startsWith("%PDF") && letter.startsWith("%PDF"));
    EXPECT_TRUE(letter.contains("/MediaBox [0 0 792") && a4.contains("/MediaBox [0 0 84"));
    EXPECT_TRUE(letter.contains("NotoSansCJK")) << "the Chinese report embeds the CJK face";

    const test::ToolRun unwritable = Tool({"report", P("job.dat"), P("no/such/dir/r.pdf")});
    EXPECT_EQ(unwritable.code, 1);
    EXPECT_TRUE(unwritable.err.contains("r.pdf: cannot be written")) << unwritable.err.toStdString();
    EXPECT_EQ(Tool({"report", P("missing.dat"), P("m.pdf")}).code, 1);
    EXPECT_FALSE(QFile::exists(P("m.pdf")));
    EXPECT_EQ(Tool({"report", P("job.dat"), P("x.pdf"), "--paper", "a3"}).code, 2);
    EXPECT_EQ(Tool({"report", P("job.dat"), P("x.pdf"), "--language", "fr"}).code, 2);
    for (const char* cmd : {"report", "beep"}) {
        const test::ToolRun h = Tool({cmd, "--help"});
        EXPECT_EQ(h.code, 0);
        EXPECT_TRUE(h.out.startsWith(QByteArray("usage: kt6383 ") + cmd));
    }
}

}  // namespace
}  // namespace kt
