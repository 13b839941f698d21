#include "platform/IniFile.h"
#include "platform/ErrorText.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <set>
#include <string>
#include <tuple>

using namespace twinfold;

namespace
{

class IniFileTest : public ::testing::Test
{
protected:
    std::string path(const std::string& name) const { return m_temp.pathOf(name); }
    std::string put(const std::string& name, const std::string& contents) const
    {
        return m_temp.writeFile(name, contents);
    }
    std::string get(const std::string& name) const { return m_temp.readFile(name); }

    std::set<std::string> entries() const
    {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_dir))
            names.insert(entry.path().filename().string());
        return names;
    }

    void expectWriteFails(const std::string& file, const std::string& section,
                          const std::string& key, const std::string& value)
    {
        try {
            IniFile::writeString(file, section, key, value);
            ADD_FAILURE() << "write to " << file << " succeeded";
        } catch (const CommandError& error) {
            EXPECT_EQ(std::string(error.what()), "Unable to write to " + file);
        }
    }

    test::TempDir m_temp;
    const std::string m_dir = m_temp.path();
};

// --- Reading -------------------------------------------------------------------------------

TEST_F(IniFileTest, ReadsWithBlanksCaseAndComments)
{
    const auto file = put("a.ini", "top=ignored\n"
                                   "; comment=no\n"
                                   "  [ Settings ]  \n"
                                   "  ;Key=commented\n"
                                   "no equals sign here\n"
                                   "  SourceDir  =  /home/me  \n"
                                   "Empty=\n");
    EXPECT_EQ(IniFile::readString(file, "settings", "SOURCEDIR", "d"), "/home/me");
    EXPECT_EQ(IniFile::readString(file, " Settings ", "sourcedir ", "d"), "/home/me");
    EXPECT_EQ(IniFile::readString(file, "Settings", "Empty", "d"), "");
    EXPECT_EQ(IniFile::readString(file, "Settings", "Key", "d"), "d");
    EXPECT_EQ(IniFile::readString(file, "Settings", "; comment", "d"), "d");
    EXPECT_EQ(IniFile::readString(file, "Settings", "top", "d"), "d");
    EXPECT_EQ(IniFile::readString(file, "Other", "SourceDir", "d"), "d");
}

TEST_F(IniFileTest, MissingOrUnreadableFileGivesDefault)
{
    EXPECT_EQ(IniFile::readString(path("none.ini"), "S", "K", "dflt"), "dflt");
    EXPECT_EQ(IniFile::readString(m_dir, "S", "K", "dflt"), "dflt");
    EXPECT_EQ(IniFile::readInteger(path("none/x.ini"), "S", "K", 7), 7);
    EXPECT_TRUE(IniFile::readBool(path("none.ini"), "S", "K", true));
}

TEST_F(IniFileTest, FirstDuplicateWins)
{
    const auto file = put("d.ini", "[S]\nk=first\nK=second\n[s]\nk=third\nother=x\n");
    EXPECT_EQ(IniFile::readString(file, "S", "k", "d"), "first");
    // Only the first section of a name counts.
    EXPECT_EQ(IniFile::readString(file, "S", "other", "d"), "d");
}

TEST_F(IniFileTest, QuotesRemovedOnlyInMatchingPairs)
{
    const auto file = put("q.ini", "[S]\nd=\"two words\"\ns='single'\nm=\"mixed'\n"
                                   "one=\"\nin=a\"b\"c\n");
    EXPECT_EQ(IniFile::readString(file, "S", "d", ""), "two words");
    EXPECT_EQ(IniFile::readString(file, "S", "s", ""), "single");
    EXPECT_EQ(IniFile::readString(file, "S", "m", ""), "\"mixed'");
    EXPECT_EQ(IniFile::readString(file, "S", "one", ""), "\"");
    EXPECT_EQ(IniFile::readString(file, "S", "in", ""), "a\"b\"c");
}

TEST_F(IniFileTest, LineEndsBomAndNul)
{
    const auto crlf = put("crlf.ini", "[S]\r\nk=v\r\nlast=end");
    EXPECT_EQ(IniFile::readString(crlf, "S", "k", ""), "v");
    EXPECT_EQ(IniFile::readString(crlf, "S", "last", ""), "end");

    const auto bom = put("bom.ini", "\xEF\xBB\xBF[S]\nk=v\n");
    EXPECT_EQ(IniFile::readString(bom, "S", "k", ""), "v");

    const auto nul = put("nul.ini", std::string("[S]\nk=ab\0cd\nn=1\n", 16));
    EXPECT_EQ(IniFile::readString(nul, "S", "k", ""), "ab");
    EXPECT_EQ(IniFile::readString(nul, "S", "n", ""), "1");
}

TEST_F(IniFileTest, LongValuesAreCut)
{
    const std::string longValue(3000, 'x');
    const std::string mega(1 << 20, 'y');
    const auto file = put("long.ini", "[S]\nlong=" + longValue + "\nmega=" + mega + "\nafter=ok\n");
    EXPECT_EQ(IniFile::readString(file, "S", "long", ""), std::string(2047, 'x'));
    EXPECT_EQ(IniFile::readString(file, "S", "mega", ""), std::string(2047, 'y'));
    EXPECT_EQ(IniFile::readString(file, "S", "after", ""), "ok");

    const auto exact = put("exact.ini", "[S]\nk=" + std::string(2047, 'z') + "\n");
    EXPECT_EQ(IniFile::readString(exact, "S", "k", "").size(), 2047u);
}

TEST_F(IniFileTest, GarbageBytesDoNotDisturbReading)
{
    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.push_back(static_cast<char>((i * 7919) % 256));
    const auto file = put("g.ini", garbage + "\n[S]\nk=v\xFF\xFE\n" + garbage);
    EXPECT_EQ(IniFile::readString(file, "S", "k", ""), "v\xFF\xFE");
    EXPECT_EQ(IniFile::readString(file, "S", "missing", "d"), "d");
}

// --- Integers and booleans -----------------------------------------------------------------

TEST_F(IniFileTest, ParsesIntegers)
{
    struct Case {
        const char* text;
        bool valid;
        std::int32_t value;
    };
    const Case cases[] = {
        {" -5", true, -5},
        {"$1F", true, 31},
        {"0x10", true, 16},
        {"0X10", true, 16},
        {"x10", true, 16},
        {"X1f", true, 31},
        {"+7", true, 7},
        {"-$10", true, -16},
        {"0x8000", true, 32768},
        {"2147483647", true, 2147483647},
        {"-2147483648", true, -2147483647 - 1},
        {"0", true, 0},
        {"007", true, 7},
        {"abc", false, 0},
        {"", false, 0},
        {"   ", false, 0},
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"0x80000000", false, 0},
        {"$", false, 0},
        {"0x", false, 0},
        {"-", false, 0},
        {"12a", false, 0},
        {"1 ", false, 0},
        {"- 1", false, 0},
        {"$G", false, 0},
        {"99999999999999999999", false, 0},
    };
    for (const Case& c : cases) {
        std::int32_t value = 12345;
        EXPECT_EQ(IniFile::parseInteger(c.text, value), c.valid) << '"' << c.text << '"';
        if (c.valid) {
            EXPECT_EQ(value, c.value) << '"' << c.text << '"';
        }
    }
}

TEST_F(IniFileTest, ReadsIntegersAndBooleansFromFile)
{
    const auto file = put("i.ini", "[O]\nneg= -5\nhex=$1F\nbad=abc\nempty=\nbig=2147483648\n"
                                   "yes=yes\ntwo=2\nzero=0\nquoted=\"42\"\n");
    EXPECT_EQ(IniFile::readInteger(file, "O", "neg", 1), -5);
    EXPECT_EQ(IniFile::readInteger(file, "O", "hex", 1), 31);
    EXPECT_EQ(IniFile::readInteger(file, "O", "bad", 99), 99);
    EXPECT_EQ(IniFile::readInteger(file, "O", "empty", 99), 99);
    EXPECT_EQ(IniFile::readInteger(file, "O", "big", 99), 99);
    EXPECT_EQ(IniFile::readInteger(file, "O", "quoted", 99), 42);
    EXPECT_FALSE(IniFile::readBool(file, "O", "yes", false));
    EXPECT_TRUE(IniFile::readBool(file, "O", "yes", true));
    EXPECT_TRUE(IniFile::readBool(file, "O", "two", false));
    EXPECT_FALSE(IniFile::readBool(file, "O", "zero", true));
    EXPECT_TRUE(IniFile::readBool(file, "O", "absent", true));
}

// --- Writing -------------------------------------------------------------------------------

TEST_F(IniFileTest, ReplaceKeepsEveryOtherByte)
{
    const std::string before = "; settings\n"
                               "[Settings]\n"
                               "SourceDir = /old  \n"
                               "  ; keep me\n"
                               "garbage line \xFF\n"
                               "\n"
                               "[Options]\n"
                               "sourcedir=untouched\n"
                               "last=no newline";
    const auto file = put("w.ini", before);
    IniFile::writeString(file, "settings", "SOURCEDIR", "/new");
    std::string expected = before;
    expected.replace(expected.find("/old  "), 6, "/new");
    EXPECT_EQ(get("w.ini"), expected);
    EXPECT_EQ(IniFile::readString(file, "Settings", "SourceDir", ""), "/new");
}

TEST_F(IniFileTest, ReplacesOnlyTheFirstDuplicate)
{
    const auto file = put("d.ini", "[S]\nK=1\nk=2\n[S]\nk=3\n");
    IniFile::writeString(file, "s", "k", "9");
    EXPECT_EQ(get("d.ini"), "[S]\nK=9\nk=2\n[S]\nk=3\n");
}

TEST_F(IniFileTest, AddsKeyAtEndOfSectionBeforeBlankLines)
{
    const auto file = put("a.ini", "[A]\nx=1\n; note\n\n\n[B]\ny=2");
    IniFile::writeString(file, "A", "New", "v");
    IniFile::writeString(file, "B", "z", "3");
    EXPECT_EQ(get("a.ini"), "[A]\nx=1\n; note\nNew=v\n\n\n[B]\ny=2\nz=3\n");
}

TEST_F(IniFileTest, AddsSectionAtEndOfFile)
{
    const auto file = put("s.ini", "[A]\nx=1");
    IniFile::writeString(file, "Options", "CopyBuffer", "32768");
    EXPECT_EQ(get("s.ini"), "[A]\nx=1\n\n[Options]\nCopyBuffer=32768\n");

    const auto blankEnd = put("b.ini", "[A]\nx=1\n\n");
    IniFile::writeString(blankEnd, "B", "k", "v");
    EXPECT_EQ(get("b.ini"), "[A]\nx=1\n\n[B]\nk=v\n");
}

TEST_F(IniFileTest, CreatesMissingFile)
{
    const auto file = path("new.ini");
    IniFile::writeString(file, "Settings", "SyncAll", "1");
    IniFile::writeString(file, "Options", "Filetype", "-3");
    EXPECT_EQ(get("new.ini"), "[Settings]\nSyncAll=1\n\n[Options]\nFiletype=-3\n");
    struct stat status {
    };
    ASSERT_EQ(::stat(file.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0644u & ~0022u);
}

TEST_F(IniFileTest, KeepsCrlfAndBom)
{
    const auto crlf = put("c.ini", "[A]\r\nx=1\r\n");
    IniFile::writeString(crlf, "A", "x", "2");
    IniFile::writeString(crlf, "A", "y", "3");
    IniFile::writeString(crlf, "B", "z", "4");
    EXPECT_EQ(get("c.ini"), "[A]\r\nx=2\r\ny=3\r\n\r\n[B]\r\nz=4\r\n");

    const auto bom = put("bom.ini", "\xEF\xBB\xBF[A]\nx=1\n");
    IniFile::writeString(bom, "a", "X", "2");
    EXPECT_EQ(get("bom.ini"), "\xEF\xBB\xBF[A]\nx=2\n");
}

// Values set on one loaded document and saved once give the bytes that as many single writes
// give, each reading the file afresh; a last line ending in a bare CR is where they can part.
TEST_F(IniFileTest, OneSaveEqualsSuccessiveWrites)
{
    const char* const starts[] = {"",         "\xEF\xBB\xBF", "x\r", "[A]\r\nk=\r",
                                  "[A]\nx=1", "; c\r\n\r\n"};
    for (const char* start : starts) {
        const auto single = put("single.ini", start);
        const auto once = put("once.ini", start);
        IniDocument document = IniDocument::load(once);
        for (const auto& [section, key, value] :
             {std::tuple{"A", "k", "1"}, {"B", "z", "2"}, {"a", "n", "3"}, {"b", "Z", "4"}}) {
            IniFile::writeString(single, section, key, value);
            document.setString(section, key, value);
        }
        document.save();
        EXPECT_EQ(get("once.ini"), get("single.ini")) << '"' << start << '"';
    }
}

TEST_F(IniFileTest, LineBreaksInValueCannotSplitTheLine)
{
    const auto file = put("n.ini", "[A]\nx=1\n");
    IniFile::writeString(file, "A", "x", "one\n[Evil]\ny=2");
    EXPECT_EQ(get("n.ini"), "[A]\nx=one\n");
    // Blanks or quotes at the ends would be lost on reading: such values go in quotes.
    for (const std::string value : {"/dir ", " lead", "'q'", "\"both\"", "\t"}) {
        IniFile::writeString(file, "A", "x", value);
        EXPECT_EQ(IniFile::readString(file, "A", "x", ""), value);
    }
    EXPECT_EQ(get("n.ini"), "[A]\nx=\"\t\"\n");
}

TEST_F(IniFileTest, WriteThroughSymbolicLinkKeepsTheLink)
{
    const auto target = put("real.ini", "[A]\nx=1\n");
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    const auto link = path("link.ini");
    ASSERT_EQ(::symlink("real.ini", link.c_str()), 0);
    IniFile::writeString(link, "A", "x", "2");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(get("real.ini"), "[A]\nx=2\n");
    struct stat status {
    };
    ASSERT_EQ(::stat(target.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
    EXPECT_EQ(entries(), (std::set<std::string>{"link.ini", "real.ini"}));
}

TEST_F(IniFileTest, FailedWritesLeaveOriginalAndNoTemporary)
{
    const std::string before = "[A]\r\nx=1\r\n";
    const auto readOnly = put("ro.ini", before);
    ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
    expectWriteFails(readOnly, "A", "x", "2");
    EXPECT_EQ(get("ro.ini"), before);

    expectWriteFails(path("missing/dir.ini"), "A", "x", "2");
    expectWriteFails(m_dir, "A", "x", "2");
    EXPECT_EQ(entries(), std::set<std::string>{"ro.ini"});
}

// A file size limit makes the write into the temporary fail halfway, after it was created.
TEST_F(IniFileTest, FailureWhileWritingRemovesTemporary)
{
    const std::string before = "[A]\nx=1\n";
    const auto file = put("f.ini", before);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    expectWriteFails(file, "A", "x", std::string(1000, 'v'));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(get("f.ini"), before);
    EXPECT_EQ(entries(), std::set<std::string>{"f.ini"});
}

TEST_F(IniFileTest, UnwritableDirectoryFailsCleanly)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root ignores directory permissions";
    const std::string before = "[A]\nx=1\n";
    const auto file = put("f.ini", before);
    ASSERT_EQ(::chmod(m_dir.c_str(), 0555), 0);
    expectWriteFails(file, "A", "x", "2");
    ASSERT_EQ(::chmod(m_dir.c_str(), 0755), 0);
    EXPECT_EQ(get("f.ini"), before);
    EXPECT_EQ(entries(), std::set<std::string>{"f.ini"});
}

TEST_F(IniFileTest, SuccessfulWriteLeavesNoTemporary)
{
    const auto file = put("ok.ini", "[A]\nx=1\n");
    for (int i = 0; i < 5; ++i)
        IniFile::writeString(file, "A", "x", std::to_string(i));
    EXPECT_EQ(IniFile::readInteger(file, "A", "x", -1), 4);
    EXPECT_EQ(entries(), std::set<std::string>{"ok.ini"});
}

} // namespace
