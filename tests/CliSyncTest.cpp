// twinfold-cli sync, end to end.
#include "support/CliRunner.h"
#include "support/TempDir.h"
#include "support/TreeSnapshot.h"

#include "platform/FileSystem.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace twinfold::test
{
namespace
{

namespace fs = std::filesystem;

// Sends SIGTERM to the program once it prints a line that mentions `mark`.
std::function<void(int, const std::string&)> terminateAt(const std::string& mark)
{
    return [mark, sent = false](int pid, const std::string& line) mutable {
        if (!sent && line.find(mark) != std::string::npos) {
            ::kill(pid, SIGTERM);
            sent = true;
        }
    };
}

// The names a directory holds, sorted.
std::vector<std::string> namesIn(const std::string& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class CliSyncTest : public ::testing::Test
{
protected:
    CliSyncTest()
    {
        tmp.makeDir("src");
        tmp.makeDir("dst");
    }
    CliResult sync(std::vector<std::string> extra)
    {
        std::vector<std::string> args{"sync", tmp.pathOf("src"), tmp.pathOf("dst")};
        args.insert(args.end(), extra.begin(), extra.end());
        return runCli(args);
    }
    TempDir tmp;
};

TEST_F(CliSyncTest, SelectedFilesModeCopiesTheSourceDirectoryOnly)
{
    tmp.writeFile("src/a.txt", "a");
    tmp.writeFile("src/sub/b.txt", "b");
    const auto result = sync({});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.errLines(), std::vector<std::string>{"File Sync Successful!"});
    EXPECT_EQ(result.outLines().back(), "Copied: 1  Not copied: 0  Failed: 0");
    EXPECT_EQ(tmp.readFile("dst/a.txt"), "a");
    EXPECT_FALSE(directoryExists(tmp.pathOf("dst/sub")));
}

TEST_F(CliSyncTest, AllMirrorsTheTreeAndASecondRunCopiesNothing)
{
    tmp.writeFile("src/a.txt", "a");
    tmp.writeFile("src/sub/deep/b.txt", "b");
    tmp.makeDir("src/empty");
    auto result = sync({"--all", "--verbose"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.outLines(),
              (std::vector<std::string>{"Copying " + tmp.pathOf("src/sub/deep/b.txt"),
                                        "Copying " + tmp.pathOf("src/a.txt"),
                                        "Copied: 2  Not copied: 0  Failed: 0"}));
    EXPECT_TRUE(directoryExists(tmp.pathOf("dst/empty")));
    // Quiet and successful: nothing at all, as a scheduled job wants it.
    result = sync({"--all", "--quiet"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "");
}

TEST_F(CliSyncTest, FailedCopyGivesStatusOneAndItsMessage)
{
    tmp.writeFile("src/a.txt", "new", 2000000000);
    tmp.writeFile("dst/a.txt", "protected", 1000000000);
    ASSERT_EQ(::chmod(tmp.pathOf("dst/a.txt").c_str(), 0444), 0);
    auto result = sync({});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.errLines().front(), "Could not create destination file: " +
                                             tmp.pathOf("dst/a.txt") + ".  File not copied!");
    EXPECT_EQ(result.outLines().back(), "Copied: 0  Not copied: 0  Failed: 1");
    // Unattended, the reason is not shown but still reaches the JSON log. Quiet, a run that
    // failed says everything on standard error, the summary last.
    tmp.makeDir("logs");
    result = sync(
        {"--auto-continue", "--quiet", "--log-dir", tmp.pathOf("logs"), "--log-format", "json"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.errLines(), (std::vector<std::string>{"File Sync Successful!",
                                                           "Copied: 0  Not copied: 0  Failed: 1"}));
    EXPECT_NE(tmp.readFile("logs/twinfold-log.json")
                  .find("\"reason\": \"Could not create destination file: " +
                        tmp.pathOf("dst/a.txt") + ".  File not copied!\""),
              std::string::npos);
    EXPECT_EQ(tmp.readFile("dst/a.txt"), "protected");
}

TEST_F(CliSyncTest, LogDirHoldsTheThreeListsInTheirFormat)
{
    tmp.writeFile("src/new.txt", "n", 2000000000);
    tmp.writeFile("src/old.txt", "o", 1000000000);
    tmp.writeFile("dst/old.txt", "o", 1000000000);
    tmp.makeDir("logs");
    const auto result = sync({"--log-dir", tmp.pathOf("logs")});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(tmp.readFile("logs/TFSuccess.txt"), tmp.pathOf("src/new.txt") + "\r\n");
    EXPECT_EQ(tmp.readFile("logs/TFOlder.txt"), tmp.pathOf("src/old.txt") + "\r\n");
    EXPECT_EQ(tmp.readFile("logs/TFFailed.txt"), "");
}

TEST_F(CliSyncTest, DryRunReportsWhatWouldBeCopiedAndChangesNothing)
{
    tmp.writeFile("src/a.txt", "new", 2000000000);
    tmp.writeFile("dst/a.txt", "old", 1000000000);
    tmp.writeFile("src/same.txt", "s", 1000000000);
    tmp.writeFile("dst/same.txt", "s", 1000000000);
    tmp.writeFile("src/sub/b.txt", "b");
    tmp.makeDir("logs");
    const auto result = sync({"--all", "--dry-run", "--verbose", "--log-dir", tmp.pathOf("logs")});
    EXPECT_EQ(result.status, 0);
    // Every line says so, and no success is claimed.
    EXPECT_EQ(result.outLines(),
              (std::vector<std::string>{"Would copy " + tmp.pathOf("src/sub/b.txt"),
                                        "Would copy " + tmp.pathOf("src/a.txt"),
                                        "Would skip " + tmp.pathOf("src/same.txt"),
                                        "Would copy: 2  Not copied: 1  Failed: 0 (dry run)"}));
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(tmp.readFile("dst/a.txt"), "old");
    EXPECT_FALSE(directoryExists(tmp.pathOf("dst/sub")));
    EXPECT_EQ(tmp.readFile("logs/TFSuccess.txt"),
              tmp.pathOf("src/sub/b.txt") + "\r\n" + tmp.pathOf("src/a.txt") + "\r\n");
}

TEST_F(CliSyncTest, TypeIncludeAndExcludeChooseTheFiles)
{
    for (const char* name : {"a.txt", "b.txt", "c.doc", "d.xls", "apple.txt"})
        tmp.writeFile(std::string("src/") + name, name);
    auto result = sync({"--include", "*.txt", "--exclude", "a*", "--verbose"});
    EXPECT_EQ(result.status, 0);
    EXPECT_TRUE(fileExists(tmp.pathOf("dst/b.txt")));
    EXPECT_FALSE(fileExists(tmp.pathOf("dst/a.txt")));
    EXPECT_FALSE(fileExists(tmp.pathOf("dst/apple.txt")));
    EXPECT_FALSE(fileExists(tmp.pathOf("dst/c.doc")));
    result = sync({"--type", "2"});
    EXPECT_TRUE(fileExists(tmp.pathOf("dst/d.xls")));
    EXPECT_FALSE(fileExists(tmp.pathOf("dst/c.doc")));
    // An explicit type wins over the lists.
    result = sync({"--type", "4", "--include", "*.txt"});
    EXPECT_TRUE(fileExists(tmp.pathOf("dst/c.doc")));
    EXPECT_FALSE(fileExists(tmp.pathOf("dst/a.txt")));
}

TEST_F(CliSyncTest, FilterFilesAddTheirMasksAsTheOptionsDo)
{
    for (const char* name : {"a.txt", "b.txt", "c.doc", "keep.log", "#x.txt"})
        tmp.writeFile(std::string("src/") + name, name);
    tmp.writeFile("include.txt", "# text and logs\n\n*.txt\r\n  \n*.LOG\n");
    const auto result =
        runCli({"sync", tmp.pathOf("src"), tmp.pathOf("dst"), "--include-from",
                tmp.pathOf("include.txt"), "--exclude-from", "-", "--exclude", "#*"},
               {}, {"b*\n# no comment is a mask\n", "", ""});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(treeOf(tmp.pathOf("dst")),
              (std::map<std::string, std::string>{{"a.txt", "a.txt"}, {"keep.log", "keep.log"}}));
}

TEST_F(CliSyncTest, JsonResultIsAllOfStandardOutput)
{
    tmp.writeFile("src/new.txt", "12345", 2000000000);
    tmp.writeFile("src/quote\"line\nbreak", "123", 2000000000);
    tmp.writeFile("src/same.txt", "s", 1000000000);
    tmp.writeFile("dst/same.txt", "s", 1000000000);
    tmp.writeFile("src/locked.txt", "new", 2000000000);
    tmp.writeFile("dst/locked.txt", "old", 1000000000);
    ASSERT_EQ(::chmod(tmp.pathOf("dst/locked.txt").c_str(), 0444), 0);

    auto result = sync({"--json", "-v", "--auto-continue"});
    EXPECT_EQ(result.status, 1);
    const auto json = nlohmann::json::parse(result.out);
    EXPECT_EQ(json["exitStatus"], 1);
    EXPECT_EQ(json["exitReason"], "1 copy failed");
    EXPECT_EQ(json["dryRun"], false);
    EXPECT_EQ(json["counts"],
              nlohmann::json::parse(R"({"copied": 2, "notCopied": 1, "failed": 1})"));
    EXPECT_EQ(json["bytesCopied"], 8);
    EXPECT_GE(json["elapsedSeconds"].get<double>(), 0.0);
    EXPECT_EQ(json["copied"],
              nlohmann::json::parse("[{\"path\": \"" + tmp.pathOf("src/new.txt") +
                                    "\"}, {\"path\": \"" + tmp.pathOf("src/quote\\\"line\\nbreak") +
                                    "\"}]"));
    EXPECT_EQ(json["notCopied"][0]["path"], tmp.pathOf("src/same.txt"));
    EXPECT_EQ(json["failed"][0]["path"], tmp.pathOf("src/locked.txt"));
    EXPECT_EQ(json["failed"][0]["reason"],
              "Could not create destination file: " + tmp.pathOf("dst/locked.txt") +
                  ".  File not copied!");
    // The per-file lines go to standard error beside the messages.
    EXPECT_NE(result.err.find("Copying " + tmp.pathOf("src/new.txt") + "\n"), std::string::npos);

    result = sync({"--json", "-n"});
    EXPECT_EQ(result.status, 0);
    const auto dry = nlohmann::json::parse(result.out);
    EXPECT_EQ(dry["dryRun"], true);
    EXPECT_EQ(dry["exitReason"], "completed");
    EXPECT_EQ(dry["bytesCopied"], 0);
    EXPECT_EQ(dry["counts"]["copied"], 1);
}

TEST_F(CliSyncTest, MistakesAreNamedInOneSentence)
{
    tmp.writeFile("src/a.txt", "a");
    const std::string src = tmp.pathOf("src");
    const std::string dst = tmp.pathOf("dst");
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"sync", src, dst, "--frobnicate"},
         "unknown option --frobnicate (see 'twinfold-cli sync --help')"},
        {{"frobnicate"}, "unknown command frobnicate (see 'twinfold-cli --help')"},
        {{"sync", src, "-weird"},
         "unknown option -weird (see 'twinfold-cli sync --help'); put -- "
         "before a DEST that starts with -"},
        {{"sync", src}, "missing DEST (see 'twinfold-cli sync --help')"},
        {{"sync", src, dst, "extra"},
         "unexpected argument extra: sync takes SOURCE and DEST only (see 'twinfold-cli sync "
         "--help')"},
        {{"sync", src, dst, "--include"}, "--include needs a file name mask such as *.txt"},
        {{"sync", src, dst, "--log-dir", "--quiet"}, "--log-dir needs a writable directory"},
        {{"sync", src, dst, "--dry-run=no"}, "--dry-run takes no value: it is a flag"},
        {{"sync", src, dst, "--answer", "no", "--answer=yes"},
         "--answer is given twice; it takes one value"},
        {{"sync", src, dst, "--buffer", "2G"},
         "--buffer takes a size from 1 byte to 64M (K and M suffixes allowed), not 2G"},
        {{"sync", src, dst, "--log-dir", ""},
         "--log-dir takes a writable directory, not an empty name"},
        {{"sync", src, dst, "--exclude-from", tmp.pathOf("none")},
         "--exclude-from " + tmp.pathOf("none") + ": File not found"},
        {{"batch", "jobs.tfw", "--config-dir", dst},
         "--config-dir is an option of twinfold-cli itself and goes before the command (see "
         "'twinfold-cli --help')"},
    };
    for (const auto& [args, message] : cases) {
        const auto result = runCli(args);
        EXPECT_EQ(result.status, 2) << message;
        EXPECT_EQ(result.err, "twinfold-cli: " + message + "\n");
    }
    EXPECT_FALSE(fileExists(tmp.pathOf("dst/a.txt")));
}

TEST_F(CliSyncTest, AFullStandardOutputEndsWithStatusTwo)
{
    const auto help = runCli({"sync", "--help"}, {}, {"", "/dev/full", ""});
    EXPECT_EQ(help.status, 2);
    EXPECT_EQ(help.err, "twinfold-cli: cannot write to standard output: " +
                            std::string(std::strerror(ENOSPC)) + "\n");
    tmp.writeFile("src/a.txt", "a");
    const auto run = runCli({"sync", tmp.pathOf("src"), tmp.pathOf("dst"), "--verbose"}, {},
                            {"", "/dev/full", ""});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.errLines().back(), help.errLines().back());
    EXPECT_EQ(tmp.readFile("dst/a.txt"), "a");
}

TEST_F(CliSyncTest, NothingToCopyIsStillSuccess)
{
    const auto result = sync({});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.errLines(), std::vector<std::string>{"No items selected to sync!"});
    EXPECT_EQ(result.outLines().back(), "Copied: 0  Not copied: 0  Failed: 0");
}

TEST_F(CliSyncTest, ItemizeSaysWhatEachFileAndDirectoryGotAndWhy)
{
    tmp.writeFile("src/new.txt", "n");
    tmp.writeFile("src/newer.txt", "edited", 2000000000);
    tmp.writeFile("dst/newer.txt", "old", 1000000000);
    tmp.writeFile("src/older.txt", "stale", 1000000000);
    tmp.writeFile("dst/older.txt", "fresh", 2000000000);
    tmp.writeFile("src/ro.txt", "new", 2000000000);
    tmp.writeFile("dst/ro.txt", "protected", 1000000000);
    ASSERT_EQ(::chmod(tmp.pathOf("dst/ro.txt").c_str(), 0444), 0);
    tmp.writeFile("src/sub/deep/d.txt", "d");
    const auto src = [this](const std::string& name) { return "\t" + tmp.pathOf("src/" + name); };

    // A dry run into a destination still to be made names the directories below the real one.
    auto result =
        runCli({"sync", tmp.pathOf("src"), tmp.pathOf("fresh"), "--all", "--dry-run", "--itemize"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.outLines(),
              (std::vector<std::string>{
                  "would make directory\t" + tmp.pathOf("fresh/sub/deep"),
                  "would copy, new" + src("sub/deep/d.txt"),
                  "would make directory\t" + tmp.pathOf("fresh/sub"),
                  "would copy, new" + src("new.txt"), "would copy, new" + src("newer.txt"),
                  "would copy, new" + src("older.txt"), "would copy, new" + src("ro.txt"),
                  "Would copy: 5  Not copied: 0  Failed: 0 (dry run)"}));

    result = sync({"--all", "--itemize", "--auto-continue"});
    EXPECT_EQ(result.status, 1) << result.err;
    EXPECT_EQ(
        result.outLines(),
        (std::vector<std::string>{
            "made directory\t" + tmp.pathOf("dst/sub"),
            "made directory\t" + tmp.pathOf("dst/sub/deep"), "copied, new" + src("sub/deep/d.txt"),
            "copied, new" + src("new.txt"), "copied, newer" + src("newer.txt"),
            "not copied, older or same" + src("older.txt"),
            "not copied, failed: Could not create destination file: " + tmp.pathOf("dst/ro.txt") +
                ".  File not copied!" + src("ro.txt"),
            "Copied: 3  Not copied: 1  Failed: 1"}));
}

TEST_F(CliSyncTest, BadArgumentsGiveStatusTwoAndUsage)
{
    const std::vector<std::vector<std::string>> bad{
        {},
        {"sync"},
        {"sync", tmp.pathOf("src")},
        {"sync", tmp.pathOf("src"), tmp.pathOf("dst"), "--type", "5"},
        {"sync", tmp.pathOf("src"), tmp.pathOf("dst"), "--buffer", "0"},
        {"sync", tmp.pathOf("src"), tmp.pathOf("dst"), "--buffer", "3G"},
        {"sync", tmp.pathOf("src"), tmp.pathOf("dst"), "--answer", "maybe"},
        {"sync", tmp.pathOf("src"), tmp.pathOf("dst"), "--quiet", "--verbose"},
        {"sync", tmp.pathOf("src"), tmp.pathOf("dst"), "--quiet", "--itemize"},
        {"sync", tmp.pathOf("src"), tmp.pathOf("dst"), "--bogus"},
        {"frobnicate"},
    };
    for (const auto& args : bad) {
        const auto result = runCli(args);
        EXPECT_EQ(result.status, 2) << ::testing::PrintToString(args);
        ASSERT_EQ(result.errLines().size(), 1u) << result.err;
        EXPECT_EQ(result.err.rfind("twinfold-cli: ", 0), 0u);
    }
    // The log directory is refused before anything is copied.
    tmp.writeFile("src/a.txt", "a");
    EXPECT_EQ(sync({"--log-dir", tmp.pathOf("nowhere")}).status, 2);
    EXPECT_FALSE(fileExists(tmp.pathOf("dst/a.txt")));
    EXPECT_EQ(runCli({"--version"}).status, 0);
    const auto help = runCli({"sync", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--keep-going"), std::string::npos);
    const auto missing = runCli({"sync", tmp.pathOf("nowhere"), tmp.pathOf("dst")});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("File not found"), std::string::npos);
}

// A missing DEST is made one level deep: below a missing parent (a volume not mounted) the run
// would write onto the disk beneath. Relative paths mean the directory the program started in.
TEST_F(CliSyncTest, MissingDestinationIsMadeOnlyBelowAnExistingParentOrWithMkpath)
{
    tmp.writeFile("src/a.txt", "a");
    const std::string parentMissing = "twinfold-cli: destination's parent " + tmp.pathOf("new") +
                                      " does not exist (is the volume mounted?)";
    for (const char* mode : {"--dry-run", "--all"}) {
        const auto result = runCli({"sync", tmp.pathOf("src"), tmp.pathOf("new/deep"), mode});
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.errLines(), std::vector<std::string>{parentMissing});
        EXPECT_EQ(result.out, "");
        EXPECT_FALSE(directoryExists(tmp.pathOf("new")));
    }
    auto result = runCli({"sync", "src", "new/deep", "--dry-run", "--mkpath"}, {},
                         CliStreams{{}, {}, tmp.path()});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.errLines(),
              std::vector<std::string>{"twinfold-cli: destination " + tmp.pathOf("new/deep") +
                                       " does not exist; it would be made"});
    EXPECT_EQ(result.outLines().back(), "Would copy: 1  Not copied: 0  Failed: 0 (dry run)");
    EXPECT_FALSE(directoryExists(tmp.pathOf("new")));
    result = runCli({"sync", "src", "./new/deep", "--mkpath", "--all"}, {},
                    CliStreams{{}, {}, tmp.path()});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.errLines().front(),
              "twinfold-cli: made destination " + tmp.pathOf("new/deep"));
    EXPECT_EQ(tmp.readFile("new/deep/a.txt"), "a");
    result = runCli({"sync", tmp.pathOf("src"), tmp.pathOf("new/level")});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(tmp.readFile("new/level/a.txt"), "a");
}

TEST_F(CliSyncTest, ANameWithALineBreakStaysOneLine)
{
    tmp.writeFile("src/two\nlines", "x");
    tmp.makeDir("logs");
    auto result = sync({"--verbose", "--log-dir", tmp.pathOf("logs")});
    EXPECT_EQ(result.outLines().front(), "Copying " + tmp.pathOf("src/two\\nlines"));
    EXPECT_EQ(tmp.readFile("logs/TFSuccess.txt"), tmp.pathOf("src/two\\nlines") + "\r\n");
    tmp.writeFile("src/bad\xff\n", "y");
    result = sync({"--log-dir", tmp.pathOf("logs"), "--log-format", "json"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(tmp.readFile("logs/twinfold-log.json").find("/bad\\udcff\\n\"}"), std::string::npos);
}

TEST_F(CliSyncTest, BufferSuffixesAreAccepted)
{
    tmp.writeFile("src/a.bin", std::string(300000, 'x'));
    for (const char* size : {"1M", "64K", "4096"}) {
        ::unlink(tmp.pathOf("dst/a.bin").c_str());
        const auto result = sync({"--buffer", size});
        EXPECT_EQ(result.status, 0) << size;
        EXPECT_EQ(tmp.readFile("dst/a.bin").size(), 300000u);
    }
}

TEST_F(CliSyncTest, AbandonedRunGivesStatusThreeAndNamesTheDirectory)
{
    tmp.writeFile("src/sub/a.txt", "a");
    tmp.writeFile("dst/sub", "a file where a directory belongs");
    const auto result = sync({"--all"});
    EXPECT_EQ(result.status, 3);
    EXPECT_EQ(result.errLines(),
              (std::vector<std::string>{"twinfold-cli: cannot make " + tmp.pathOf("dst/sub"),
                                        "Invalid filename."}));
}

TEST_F(CliSyncTest, KeepGoingPassesOverADirectoryAndSynchronisesTheRest)
{
    tmp.writeFile("src/sub/a.txt", "a");
    tmp.writeFile("src/sub/deeper/c.txt", "c");
    tmp.writeFile("src/next/b.txt", "b");
    tmp.writeFile("src/top.txt", "t");
    tmp.writeFile("dst/sub", "a file where a directory belongs");
    tmp.makeDir("logs");
    const auto result = sync({"--all", "--keep-going", "--log-dir", tmp.pathOf("logs")});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.errLines().front(),
              "twinfold-cli: passed over " + tmp.pathOf("dst/sub/deeper") + ": Invalid filename");
    EXPECT_EQ(tmp.readFile("logs/TFFailed.txt"),
              tmp.pathOf("dst/sub/deeper") + "\r\n" + tmp.pathOf("dst/sub") + "\r\n");
    EXPECT_EQ(tmp.readFile("dst/next/b.txt"), "b");
    EXPECT_EQ(tmp.readFile("dst/top.txt"), "t");
    EXPECT_EQ(tmp.readFile("dst/sub"), "a file where a directory belongs");
}

// A chain of directories below `base`, made level by level from inside it (its full path grows
// longer than the system takes), each level holding f.txt with its number. With lastIsFile the
// last level is a file instead. The full path of each level.
std::vector<std::string> makeChain(const std::string& base, int levels, bool lastIsFile = false)
{
    std::vector<std::string> paths;
    const auto started = fs::current_path();
    fs::current_path(base);
    std::string path = base;
    for (int level = 0; level < levels; ++level) {
        const std::string name = std::to_string(level) + std::string(200, 'x');
        path += "/" + name;
        paths.push_back(path);
        if (lastIsFile && level == levels - 1) {
            std::ofstream(name) << "a file where a directory belongs";
            break;
        }
        fs::create_directory(name);
        fs::current_path(name);
        std::ofstream("f.txt") << level;
    }
    fs::current_path(started);
    return paths;
}

TEST_F(CliSyncTest, ATreeBeyondThePathLimitIsSynchronisedCompletely)
{
    const auto levels = makeChain(tmp.pathOf("src"), 24);
    ASSERT_GT(levels.back().size(), 4096u + 600u);
    tmp.writeFile("src/top.txt", "t");
    tmp.makeDir("logs");

    auto result = sync({"--all", "--verbose", "--log-dir", tmp.pathOf("logs")});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.errLines(), std::vector<std::string>{"Directory Sync Successful!"});
    EXPECT_EQ(result.outLines().front(), "Copying " + levels.back() + "/f.txt");
    EXPECT_EQ(result.outLines().back(), "Copied: 25  Not copied: 0  Failed: 0");
    EXPECT_EQ(tmp.readFile("logs/TFSuccess.txt").rfind(levels.back() + "/f.txt\r\n", 0), 0u);
    const auto source = treeOf(tmp.pathOf("src"));
    EXPECT_EQ(source.size(), 24u * 2 + 1);
    EXPECT_EQ(treeOf(tmp.pathOf("dst")), source);

    result = sync({"--all", "--verbose"});
    EXPECT_EQ(result.status, 0) << result.err;
    const auto lines = result.outLines();
    EXPECT_EQ(lines.back(), "Copied: 0  Not copied: 25  Failed: 0");
    EXPECT_EQ(lines.front(), "Skipping " + levels.back() + "/f.txt");
}

TEST_F(CliSyncTest, ADirectoryBeyondThePathLimitThatCannotBeMadeIsNamedOrPassedOver)
{
    makeChain(tmp.pathOf("src"), 24);
    // The chain mirrored up to the first level beyond the limit, which is a file there.
    const auto blocked = makeChain(tmp.pathOf("dst"), 21, true);
    ASSERT_GT(blocked.back().size(), 4096u);
    ASSERT_LT(blocked[19].size(), 4096u);
    tmp.makeDir("logs");

    auto result = sync({"--all", "--quiet"});
    EXPECT_EQ(result.status, 3);
    const std::string deepest = blocked.back() + "/21" + std::string(200, 'x') + "/22" +
                                std::string(200, 'x') + "/23" + std::string(200, 'x');
    EXPECT_EQ(result.errLines().at(0), "twinfold-cli: cannot make " + deepest);

    result = sync({"--all", "--quiet", "--keep-going", "--log-dir", tmp.pathOf("logs")});
    EXPECT_EQ(result.status, 1);
    const std::string failed = tmp.readFile("logs/TFFailed.txt");
    EXPECT_EQ(failed.rfind(deepest + "\r\n", 0), 0u);
    EXPECT_EQ(failed.substr(failed.size() - blocked.back().size() - 2), blocked.back() + "\r\n");
    EXPECT_EQ(std::count(failed.begin(), failed.end(), '\n'), 4);
    EXPECT_EQ(
        treeOf(tmp.pathOf("dst")).at(blocked[19].substr(tmp.pathOf("dst/").size()) + "/f.txt"),
        "19");
}

TEST_F(CliSyncTest, CtrlCCancelsAtTheNextPoll)
{
    for (int i = 0; i < 400; ++i)
        tmp.writeFile("src/f" + std::to_string(i) + ".txt", std::string(20000, 'c'));
    bool sent = false;
    const auto result = runCli({"sync", tmp.pathOf("src"), tmp.pathOf("dst"), "--verbose"},
                               [&](int pid, const std::string&) {
                                   if (!sent) {
                                       ::kill(pid, SIGINT);
                                       sent = true;
                                   }
                               });
    EXPECT_EQ(result.status, 130);
    EXPECT_EQ(result.errLines(), std::vector<std::string>{"Operation Canceled!"});
    const auto lines = result.outLines();
    EXPECT_LT(lines.size(), 400u);
    EXPECT_EQ(lines.back().rfind("Copied: ", 0), 0u);
}

// Two runs onto one destination must never take each other's temporaries for leftovers: half
// the files replace older copies (named, locked temporaries), half are new (unnamed files).
TEST_F(CliSyncTest, TwoRunsAtOnceBothCopyEverythingAndFailNothing)
{
    constexpr int Files = 60;
    for (int i = 0; i < Files; ++i)
        tmp.writeFile("src/f" + std::to_string(i), std::string(4000 + i, 'n'), 1700000000);
    for (int round = 0; round < 6; ++round) {
        const std::string dst = "dst" + std::to_string(round);
        for (int i = 0; i < Files; i += 2)
            tmp.writeFile(dst + "/f" + std::to_string(i), "old", 1600000000);
        const std::vector<std::string> args{"sync", tmp.pathOf("src"), tmp.pathOf(dst)};
        CliResult first;
        std::thread other([&] { first = runCli(args); });
        CliResult second = runCli(args);
        other.join();
        for (const auto* result : {&first, &second}) {
            EXPECT_EQ(result->status, 0) << result->err;
            EXPECT_EQ(result->errLines(), std::vector<std::string>{"File Sync Successful!"});
        }
        int entries = 0;
        for ([[maybe_unused]] const auto& entry :
             std::filesystem::directory_iterator(tmp.pathOf(dst)))
            ++entries;
        EXPECT_EQ(entries, Files) << "a temporary was left behind in round " << round;
        for (int i = 0; i < Files; ++i)
            ASSERT_EQ(tmp.readFile(dst + "/f" + std::to_string(i)).size(), 4000u + i);
    }
}

// A service stop during a long copy: status 143, neither a temporary nor a torn file, and the
// record of what was done before it: the summary, the lists, and which signal ended the run.
TEST_F(CliSyncTest, SigtermDuringACopyEndsCleanlyWithStatus143AndKeepsTheRecord)
{
    tmp.writeFile("src/a1.txt", "1");
    tmp.writeFile("src/a2.txt", "2");
    {
        std::ofstream big(tmp.pathOf("src/big.bin"), std::ios::binary);
        big << "head";
    }
    std::filesystem::resize_file(tmp.pathOf("src/big.bin"), 200 * 1024 * 1024);
    tmp.writeFile("dst/big.bin", "old copy", 1600000000);
    tmp.writeFile("dst/keep.txt", "unrelated");
    tmp.makeDir("logs");
    const auto result = runCli({"sync", tmp.pathOf("src"), tmp.pathOf("dst"), "--verbose",
                                "--log-dir", tmp.pathOf("logs")},
                               terminateAt("big.bin"));
    EXPECT_EQ(result.status, 143);
    EXPECT_EQ(result.outLines().back(), "Copied: 2  Not copied: 0  Failed: 0");
    EXPECT_EQ(result.errLines(), std::vector<std::string>{"twinfold-cli: run ended by SIGTERM"});
    EXPECT_EQ(tmp.readFile("logs/TFSuccess.txt"),
              tmp.pathOf("src/a1.txt") + "\r\n" + tmp.pathOf("src/a2.txt") + "\r\n");
    EXPECT_EQ(tmp.readFile("logs/TFFailed.txt"), "");
    EXPECT_EQ(namesIn(tmp.pathOf("dst")),
              (std::vector<std::string>{"a1.txt", "a2.txt", "big.bin", "keep.txt"}));
    EXPECT_EQ(tmp.readFile("dst/big.bin"), "old copy");
}

// A service stop while the files after a long copy are being copied ahead into a directory the
// run made: none of them shows, and what stands there is exactly what the run listed.
TEST_F(CliSyncTest, SigtermWithCopiesMadeAheadLeavesOnlyWhatTheRunListed)
{
    std::vector<std::string> before;
    for (int i = 0; i < 10; ++i) {
        tmp.writeFile("src/new/a" + std::to_string(i) + ".txt", std::string(20000, 'a'));
        before.push_back("a" + std::to_string(i) + ".txt");
        tmp.writeFile("src/new/z" + std::to_string(i) + ".txt", std::string(20000, 'z'));
    }
    tmp.writeFile("src/new/m.bin", "head");
    std::filesystem::resize_file(tmp.pathOf("src/new/m.bin"), 200 * 1024 * 1024);
    tmp.makeDir("dst");
    const auto result =
        runCli({"sync", tmp.pathOf("src"), tmp.pathOf("dst"), "--all", "--verbose", "--jobs", "8"},
               terminateAt("m.bin"));
    EXPECT_EQ(result.status, 143);
    EXPECT_EQ(result.outLines().back(), "Copied: 10  Not copied: 0  Failed: 0");
    EXPECT_EQ(namesIn(tmp.pathOf("dst/new")), before);
}

// A stick written an hour ahead of the clock that reads it now: unchanged files read an hour
// early. The setting takes that hour back, so only the file changed since is copied.
TEST_F(CliSyncTest, TimeShiftComparesAShiftedDestinationAsTheUserSaysAndSaysWhatItSaw)
{
    constexpr std::int64_t T = 1717236000; // 2024-06-01
    for (const char* name : {"a.txt", "b.txt", "sub/c.txt"}) {
        tmp.writeFile(std::string("src/") + name, "same", T);
        tmp.writeFile(std::string("dst/") + name, "same", T - 3600);
    }
    tmp.writeFile("src/changed.txt", "new!", T + 1800);
    tmp.writeFile("dst/changed.txt", "old!", T - 3600);
    const auto result = sync({"--all", "--quiet", "--time-shift", "-1"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(treeOf(tmp.pathOf("dst")), treeOf(tmp.pathOf("src")));
    // The user's own setting is no warning: a quiet run that succeeds says nothing of it.
    EXPECT_EQ(result.out + result.err, "");
    const auto told = sync({"--all", "--time-shift", "-1"});
    EXPECT_EQ(told.outLines().back(), "Copied: 0  Not copied: 4  Failed: 0");
    EXPECT_EQ(told.errLines(),
              (std::vector<std::string>{
                  "twinfold-cli: The times in " + tmp.pathOf("dst") +
                      " read 1 hour early against the source on 3 files of equal size; the time "
                      "shift setting compensated it.",
                  "Directory Sync Successful!"}));
    EXPECT_EQ(sync({"--time-shift", "25"}).status, 2);

    // Read an hour late, found by the run itself: the file edited within that hour is copied,
    // and even a quiet run that succeeds warns of the clock.
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
        tmp.writeFile(std::string("late/src/") + name, "same", T);
        tmp.writeFile(std::string("late/dst/") + name, "same", T + 3600);
    }
    tmp.writeFile("late/src/edited.txt", "new!", T + 1800);
    tmp.writeFile("late/dst/edited.txt", "old!", T + 3600);
    const auto late =
        runCli({"sync", tmp.pathOf("late/src"), tmp.pathOf("late/dst"), "--all", "--quiet"});
    EXPECT_EQ(late.status, 0);
    EXPECT_EQ(tmp.readFile("late/dst/edited.txt"), "new!");
    ASSERT_EQ(late.errLines().size(), 1U);
    EXPECT_TRUE(late.errLines()[0].starts_with("twinfold-cli: The times in " +
                                               tmp.pathOf("late/dst") + " read 1 hour late"))
        << late.err;
}

} // namespace
} // namespace twinfold::test
