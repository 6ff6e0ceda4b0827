#include "base/ProfileFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace kt {
namespace {

using test::ReadFile;
using test::TempInstall;
using test::WriteFile;

const QByteArray kSample =
    "; settings of the programming software\r\n"
    "[Language]\r\n"
    "CurrentLanguage = 2\r\n"
    "comPort=3   \r\n"
    "\r\n"
    "[Other]\r\n"
    "# kept as it is\r\n"
    "Key=other value\r\n";

TEST(ProfileFile, ReadsSectionsAndKeysWhateverTheirCase)
{
    TempInstall inst(false, false);
    const QString path = inst.path("a.ini");
    ASSERT_TRUE(WriteFile(path, kSample));
    struct Case { const char* section; const char* key; const char* expected; } cases[] = {
        {"language", "currentlanguage", "2"},
        {"LANGUAGE", "COMPORT", "3"},          // trailing spaces removed
        {"other", "key", "other value"},
        {"other", "CurrentLanguage", "dflt"},  // key of another section
        {"missing", "key", "dflt"},
        {"Language", "# kept as it is", "dflt"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadProfileString(path, c.section, c.key, "dflt"), c.expected) << c.section << "/" << c.key;
}

TEST(ProfileFile, MissingFileGivesDefaultAndCreatesNothing)
{
    TempInstall inst(false, false);
    const QString path = inst.path("none.ini");
    EXPECT_EQ(ReadProfileString(path, "s", "k", "fallback"), "fallback");
    EXPECT_TRUE(ReadProfileString(path, "s", "k").isNull());
    EXPECT_FALSE(QFile::exists(path));
}

TEST(ProfileFile, ValueIsCutAtNulAndLimitedToTheBuffer)
{
    TempInstall inst(false, false);
    const QString path = inst.path("a.ini");
    QByteArray nul = "[s]\nk=abc  ";
    nul += '\0';
    nul += "rest\nlong=" + QByteArray(700, 'x') + "\n";
    ASSERT_TRUE(WriteFile(path, nul));
    EXPECT_EQ(ReadProfileString(path, "s", "k"), "abc");
    EXPECT_EQ(ReadProfileString(path, "s", "long").size(), 511);
}

TEST(ProfileFile, WriteCreatesFileSectionAndKey)
{
    TempInstall inst(false, false);
    const QString path = inst.path("new.ini");
    ASSERT_TRUE(WriteProfileString(path, "language", "comPort", "4"));
    ASSERT_TRUE(WriteProfileString(path, "language", "CurrentLanguage", "1"));
    ASSERT_TRUE(WriteProfileString(path, "Version", "X", "y"));
    EXPECT_EQ(ReadFile(path), "[language]\r\ncomPort=4\r\nCurrentLanguage=1\r\n\r\n[Version]\r\nX=y\r\n");
}

TEST(ProfileFile, WriteKeepsCommentsOtherSectionsAndLineBreaks)
{
    TempInstall inst(false, false);
    const QString path = inst.path("a.ini");
    ASSERT_TRUE(WriteFile(path, kSample));

    ASSERT_TRUE(WriteProfileString(path, "LANGUAGE", "comport", "7"));     // replace in place
    ASSERT_TRUE(WriteProfileString(path, "language", "IsFirstRun", "0"));  // new key before the blank line
    ASSERT_TRUE(WriteProfileString(path, "other", "Added", "1"));          // new key at the end of the file
    EXPECT_EQ(ReadFile(path),
              "; settings of the programming software\r\n"
              "[Language]\r\n"
              "CurrentLanguage = 2\r\n"
              "comport=7\r\n"
              "IsFirstRun=0\r\n"
              "\r\n"
              "[Other]\r\n"
              "# kept as it is\r\n"
              "Key=other value\r\n"
              "Added=1\r\n");
    EXPECT_EQ(ReadProfileString(path, "Language", "comPort"), "7");
}

TEST(ProfileFile, WriteKeepsUnixLineBreaksAndAMissingFinalBreak)
{
    TempInstall inst(false, false);
    const QString path = inst.path("a.ini");
    ASSERT_TRUE(WriteFile(path, "[a]\nx=1"));
    ASSERT_TRUE(WriteProfileString(path, "a", "x", "2"));
    EXPECT_EQ(ReadFile(path), "[a]\nx=2");
    ASSERT_TRUE(WriteProfileString(path, "a", "y", "3"));
    EXPECT_EQ(ReadFile(path), "[a]\nx=2\ny=3\n");
}

TEST(ProfileFile, ValueCannotAddLines)
{
    TempInstall inst(false, false);
    const QString path = inst.path("a.ini");
    ASSERT_TRUE(WriteProfileString(path, "s", "k", "1\r\n[evil]\r\nk=2"));
    EXPECT_EQ(ReadProfileString(path, "s", "k"), "1");
    EXPECT_EQ(ReadProfileString(path, "evil", "k", "none"), "none");
}

TEST(ProfileFile, WriteToUnwritablePlaceFails)
{
    TempInstall inst(false, false);
    EXPECT_FALSE(WriteProfileString(inst.path("no/such/dir/a.ini"), "s", "k", "v"));
}

}  // namespace
}  // namespace kt
