// twinfold-cli batch, end to end: start-up with the default settings, the batch, the exit steps.
#include "support/CliRunner.h"
#include "support/TempDir.h"

#include "batch/BatchFile.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"

#include <gtest/gtest.h>

namespace twinfold::test
{
namespace
{

class CliBatchTest : public ::testing::Test
{
protected:
    CliBatchTest()
    {
        tmp.writeFile("a/one.txt", "1");
        tmp.writeFile("b/two.txt", "2");
        tmp.makeDir("outA");
        tmp.makeDir("outB");
    }
    std::string job(const std::string& name, const std::string& source, const std::string& dest,
                    const std::string& settings = "SelectAll=1\n")
    {
        return tmp.writeFile("jobs/" + name, "[Settings]\nSourceDir=" + source +
                                                 "\nDestDir=" + dest + "\n" + settings);
    }
    CliResult batch(const std::vector<std::string>& entries, std::vector<std::string> extra = {})
    {
        WriteBatchFile(tmp.pathOf("run.tfw"), entries);
        std::vector<std::string> args{"--config-dir", tmp.pathOf("config"), "batch",
                                      tmp.pathOf("run.tfw")};
        args.insert(args.end(), extra.begin(), extra.end());
        return runCli(args);
    }
    TempDir tmp;
};

TEST_F(CliBatchTest, RunsEveryEntryAndSavesTheDefaultSettingsAtExit)
{
    const auto result = batch({job("a.ini", tmp.pathOf("a"), tmp.pathOf("outA")),
                               job("b.ini", tmp.pathOf("b"), tmp.pathOf("outB"), "SyncAll=1\n")},
                              {"--log-dir", tmp.pathOf("outA")});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.outLines().back(), "Copied: 2  Not copied: 0  Failed: 0");
    EXPECT_EQ(tmp.readFile("outA/one.txt"), "1");
    EXPECT_EQ(tmp.readFile("outB/two.txt"), "2");
    EXPECT_EQ(tmp.readFile("outA/TFSuccess.txt"),
              tmp.pathOf("a/one.txt") + "\r\n" + tmp.pathOf("b/two.txt") + "\r\n");
    // A first start made the default settings file; the exit saved the last entry's state.
    const std::string settings = tmp.pathOf("config/tfoldw.ini");
    EXPECT_EQ(IniFile::readString(settings, "Settings", "SourceDir", ""), tmp.pathOf("b"));
    EXPECT_EQ(IniFile::readString(settings, "Settings", "BatchDir", ""), tmp.pathOf("run.tfw"));
    EXPECT_EQ(IniFile::readString(settings, "Settings", "SyncAll", ""), "1");
}

// Start-up enters the configuration directory; every path of the command line still means the
// directory the program was started in, for the checks before the run as for the run.
TEST_F(CliBatchTest, RelativePathsMeanTheStartingDirectory)
{
    WriteBatchFile(tmp.pathOf("run.tfw"), {job("a.ini", tmp.pathOf("a"), tmp.pathOf("outA"))});
    tmp.makeDir("logs");
    const auto result = runCli({"--config-dir", "config", "batch", "run.tfw", "--log-dir", "logs"},
                               {}, CliStreams{{}, {}, tmp.path()});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(tmp.readFile("outA/one.txt"), "1");
    EXPECT_EQ(tmp.readFile("logs/TFSuccess.txt"), tmp.pathOf("a/one.txt") + "\r\n");
    EXPECT_EQ(IniFile::readString(tmp.pathOf("config/tfoldw.ini"), "Settings", "BatchDir", ""),
              tmp.pathOf("run.tfw"));
}

TEST_F(CliBatchTest, SkippedEntryGivesStatusOne)
{
    const auto result =
        batch({tmp.pathOf("jobs/missing.ini"), job("a.ini", tmp.pathOf("a"), tmp.pathOf("outA"))});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.errLines(),
              std::vector<std::string>{"The ini file: " + tmp.pathOf("jobs/missing.ini") +
                                       " is invalid...process will be skipped!"});
    EXPECT_TRUE(fileExists(tmp.pathOf("outA/one.txt")));
}

TEST_F(CliBatchTest, AnswerNoSkipsTheSyncAllQuestion)
{
    const auto result =
        batch({job("a.ini", tmp.pathOf("a"), tmp.pathOf("outA"), "SyncAll=1\nSelectAll=1\n")},
              {"--answer", "no"});
    EXPECT_EQ(result.status, 0);
    EXPECT_FALSE(fileExists(tmp.pathOf("outA/one.txt")));
}

TEST_F(CliBatchTest, AnEscapedFailureGivesStatusThree)
{
    const auto result = batch({job("a.ini", tmp.pathOf("a"), tmp.pathOf("gone") + "/")});
    EXPECT_EQ(result.status, 3);
    EXPECT_EQ(result.errLines(),
              (std::vector<std::string>{"twinfold-cli: cannot enter " + tmp.pathOf("gone") + "/",
                                        "File not found."}));
}

TEST_F(CliBatchTest, BadArguments)
{
    EXPECT_EQ(runCli({"batch"}).status, 2);
    EXPECT_EQ(runCli({"batch", "a.tfw", "b.tfw"}).status, 2);
    EXPECT_EQ(runCli({"batch", "a.tfw", "--answer", "perhaps"}).status, 2);
    EXPECT_EQ(runCli({"--config-dir"}).status, 2);
    const auto missing = runCli({"batch", tmp.pathOf("nope.tfw")});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err,
              "twinfold-cli: batch file " + tmp.pathOf("nope.tfw") + ": File not found\n");
}

} // namespace
} // namespace twinfold::test
