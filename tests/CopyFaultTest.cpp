// The copy under injected faults and races: the message, the result, the old destination kept
// and no temporary left behind.
#include "engine/BufferedCopy.h"
#include "platform/FileHandle.h"
#include "support/FaultyFileServices.h"
#include "support/ScriptedServices.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <dirent.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace twinfold::test
{
namespace
{

using Call = FaultyFileServices::Call;

std::size_t entriesIn(const std::string& dir)
{
    std::size_t count = 0;
    DIR* stream = ::opendir(dir.c_str());
    while (const dirent* entry = ::readdir(stream)) {
        const std::string name = entry->d_name;
        count += name != "." && name != "..";
    }
    ::closedir(stream);
    return count;
}

TEST(CopyFaultTest, EachFailureHasItsMessageAndKeepsTheOldDestination)
{
    struct Row {
        Call call;
        int error;
        bool replacing;
        std::string lead;
        std::int64_t room = -1; // bytes the disk takes before it is full
    };
    const std::vector<Row> rows = {
        {Call::Rename, EXDEV, true, "Could not replace destination file: "},
        {Call::SetTime, EPERM, true, "Could not set the time of destination file: "},
        {Call::SetTime, EPERM, false, "Could not set the time of destination file: "},
        {Call::SetMode, EPERM, true, "Could not set the permissions of destination file: "},
        {Call::Link, EACCES, false, "Could not name destination file: "},
        {Call::Write, ENOSPC, true, "Error writing destination file: "},
        {Call::Read, EIO, true, "Error reading source file: "},
        {Call::Open, EMFILE, true, "Could not open file: "},
        {Call::CreateUnnamed, EMFILE, false, "Could not create destination file: "},
        {Call::CreateUnnamed, EMFILE, true, "Could not create destination file: "},
        {Call::Flush, EIO, true, "Could not close destination file: "},
        // No fault of one call: the disk fills up after `room` bytes.
        {Call::Open, 0, true, "Error writing destination file: ", 5},
        {Call::Open, 0, false, "Error writing destination file: ", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.lead + std::to_string(row.replacing));
        TempDir tmp;
        ScriptedServices ui;
        FaultyFileServices faulty;
        tmp.writeFile("src/a.txt", "new contents", 1700000000);
        if (row.replacing) {
            tmp.writeFile("dst/a.txt", "old", 1600000000);
            // Permissions of its own, which the copy must take on.
            ::chmod(tmp.pathOf("dst/a.txt").c_str(), 0604);
        } else
            tmp.makeDir("dst");
        faulty.fail(Call::CopyRange, EXDEV); // the buffered path, where reads and writes fail
        if (row.error != 0)
            faulty.fail(row.call, row.error);
        faulty.limitWrites(3, row.room); // short writes, all of them
        const ScopedFileServices seam(faulty);
        EXPECT_FALSE(BufferedCopy(ui, tmp.pathOf("src/a.txt"), tmp.pathOf("dst"),
                                  {.quiet = false, .copyBuffer = 4})
                         .copied);
        ASSERT_EQ(ui.texts().size(), 1u);
        EXPECT_EQ(ui.texts()[0].rfind(row.lead, 0), 0u) << ui.texts()[0];
        // A read failure names the file that failed: the source.
        if (row.call == Call::Read) {
            EXPECT_NE(ui.texts()[0].find(tmp.pathOf("src/a.txt")), std::string::npos);
        }
        if (row.replacing) {
            EXPECT_EQ(tmp.readFile("dst/a.txt"), "old");
        }
        EXPECT_EQ(entriesIn(tmp.pathOf("dst")), row.replacing ? 1u : 0u);
    }
}

TEST(CopyFaultTest, ShortWritesAndKernelCopiesStillCopyEverything)
{
    TempDir tmp;
    ScriptedServices ui;
    FaultyFileServices faulty;
    const ScopedFileServices seam(faulty);
    const std::string contents(10000, 'k');
    tmp.writeFile("src/a.txt", contents, 1700000000);
    tmp.writeFile("dst/a.txt", "old", 1600000000);
    faulty.limitWrites(7);
    EXPECT_TRUE(BufferedCopy(ui, tmp.pathOf("src/a.txt"), tmp.pathOf("dst"),
                             {.quiet = false, .copyBuffer = 64})
                    .copied);
    EXPECT_EQ(tmp.readFile("dst/a.txt"), contents);
    EXPECT_EQ(entriesIn(tmp.pathOf("dst")), 1u);
    EXPECT_TRUE(ui.texts().empty());
}

TEST(CopyFaultTest, SourceChangesAndNewerDestinationsAreNeverInstalled)
{
    TempDir tmp;
    ScriptedServices ui;
    FaultyFileServices faulty;
    const ScopedFileServices seam(faulty);
    // A same-size rewrite that puts the old time back is caught by the change time.
    tmp.writeFile("src/a.txt", "0123456789", 1700000000);
    tmp.makeDir("dst");
    faulty.before = [&](Call call) {
        if (call == Call::CopyRange || call == Call::Read) {
            faulty.before = nullptr;
            tmp.writeFile("src/a.txt", "ABCDEFGHIJ", 1700000000);
        }
    };
    EXPECT_FALSE(BufferedCopy(ui, tmp.pathOf("src/a.txt"), tmp.pathOf("dst"),
                              {.quiet = true, .copyBuffer = 4})
                     .copied);
    EXPECT_EQ(entriesIn(tmp.pathOf("dst")), 0u);
    // A destination written meanwhile, newer than the source, is kept.
    tmp.writeFile("dst/a.txt", "old", 1600000000);
    faulty.before = [&](Call call) {
        if (call == Call::SetTime) {
            faulty.before = nullptr;
            tmp.writeFile("dst/a.txt", "theirs", 1800000000);
        }
    };
    const CopyOutcome outcome = BufferedCopy(ui, tmp.pathOf("src/a.txt"), tmp.pathOf("dst"));
    EXPECT_FALSE(outcome.copied);
    EXPECT_TRUE(outcome.destinationKept);
    EXPECT_EQ(tmp.readFile("dst/a.txt"), "theirs");
    EXPECT_TRUE(ui.texts().empty());
}

// A name found free is not looked at again before the install: whatever appears there meanwhile
// is still judged by the newer-than rule, however the copy gets its name (linked from an unnamed
// file, renamed without replacing, or looked up and renamed where the file system cannot rename
// without replacing). And a temporary that another run's clean-up took before it was locked is
// made again, for a new file and for a replacement.
TEST(CopyFaultTest, EntriesAppearingMeanwhileAreJudgedAndTakenTemporariesMadeAgain)
{
    enum class Naming { Unnamed, Renamed, RenameRefused };
    for (const Naming naming : {Naming::Unnamed, Naming::Renamed, Naming::RenameRefused}) {
        for (const std::int64_t theirTime : {1800000000, 1600000000}) {
            SCOPED_TRACE(static_cast<int>(naming) * 10 + (theirTime > 1700000000));
            TempDir tmp;
            ScriptedServices ui;
            FaultyFileServices faulty;
            tmp.writeFile("src/a.txt", "new contents", 1700000000);
            tmp.makeDir("dst");
            if (naming != Naming::Unnamed)
                faulty.failEvery(Call::CreateUnnamed, EOPNOTSUPP);
            if (naming == Naming::RenameRefused)
                faulty.fail(Call::Rename, EINVAL);
            faulty.before = [&](Call call) {
                if (call == Call::SetTime)
                    tmp.writeFile("dst/a.txt", "theirs", theirTime);
            };
            const ScopedFileServices seam(faulty);
            const CopyOutcome outcome =
                BufferedCopy(ui, tmp.pathOf("src/a.txt"), tmp.pathOf("dst"));
            const bool theirsNewer = theirTime > 1700000000;
            EXPECT_EQ(outcome.copied, !theirsNewer);
            EXPECT_EQ(outcome.destinationKept, theirsNewer);
            EXPECT_EQ(tmp.readFile("dst/a.txt"), theirsNewer ? "theirs" : "new contents");
            EXPECT_EQ(entriesIn(tmp.pathOf("dst")), 1u);
            EXPECT_TRUE(ui.texts().empty());
        }
    }
    for (const bool replacing : {false, true}) {
        SCOPED_TRACE(replacing);
        TempDir tmp;
        ScriptedServices ui;
        FaultyFileServices faulty;
        tmp.writeFile("src/a.txt", "new contents", 1700000000);
        if (replacing)
            tmp.writeFile("dst/a.txt", "old", 1600000000);
        else
            tmp.makeDir("dst");
        faulty.failEvery(Call::CreateUnnamed, EOPNOTSUPP);
        int renames = 0;
        faulty.before = [&](Call call) {
            if (call != Call::Rename || ++renames > 1)
                return;
            for (const auto& entry : std::filesystem::directory_iterator(tmp.pathOf("dst")))
                if (entry.path().filename().string().ends_with(".partial"))
                    std::filesystem::remove(entry.path());
        };
        const ScopedFileServices seam(faulty);
        EXPECT_TRUE(BufferedCopy(ui, tmp.pathOf("src/a.txt"), tmp.pathOf("dst")).copied);
        EXPECT_EQ(renames, 2);
        EXPECT_EQ(tmp.readFile("dst/a.txt"), "new contents");
        EXPECT_EQ(entriesIn(tmp.pathOf("dst")), 1u);
        EXPECT_TRUE(ui.texts().empty());
    }
    // A temporary that cannot be locked is not left behind for want of a lock.
    TempDir tmp;
    ScriptedServices ui;
    FaultyFileServices faulty;
    tmp.writeFile("src/a.txt", "new contents", 1700000000);
    tmp.makeDir("dst");
    faulty.failEvery(Call::CreateUnnamed, EOPNOTSUPP);
    faulty.failEvery(Call::Lock, ENOLCK);
    const ScopedFileServices seam(faulty);
    EXPECT_FALSE(BufferedCopy(ui, tmp.pathOf("src/a.txt"), tmp.pathOf("dst")).copied);
    EXPECT_EQ(ui.texts(),
              std::vector<std::string>{"Could not create destination file: " +
                                       tmp.pathOf("dst/a.txt") + ".  File not copied!"});
    EXPECT_EQ(entriesIn(tmp.pathOf("dst")), 0u);
}

TEST(CopyFaultTest, NewCopiesAreNamedOnlyWhenCompleteAndFallBackWhereUnnamedIsRefused)
{
    TempDir tmp;
    ScriptedServices ui;
    tmp.writeFile("src/a.txt", "contents", 1700000000);
    tmp.makeDir("dst");
    {
        FaultyFileServices faulty;
        std::size_t entriesBeforeLink = 99;
        faulty.before = [&](Call call) {
            if (call == Call::Link)
                entriesBeforeLink = entriesIn(tmp.pathOf("dst"));
        };
        const ScopedFileServices seam(faulty);
        EXPECT_TRUE(BufferedCopy(ui, tmp.pathOf("src/a.txt"), tmp.pathOf("dst")).copied);
        // Written and timed without any name in the directory, then named in one step.
        EXPECT_EQ(entriesBeforeLink, 0u);
    }
    for (const int refusal : {EOPNOTSUPP, EISDIR}) {
        SCOPED_TRACE(refusal);
        std::remove(tmp.pathOf("dst/a.txt").c_str());
        FaultyFileServices faulty;
        faulty.fail(Call::CreateUnnamed, refusal);
        const ScopedFileServices seam(faulty);
        EXPECT_TRUE(BufferedCopy(ui, tmp.pathOf("src/a.txt"), tmp.pathOf("dst")).copied);
        EXPECT_EQ(tmp.readFile("dst/a.txt"), "contents");
        EXPECT_EQ(entriesIn(tmp.pathOf("dst")), 1u);
    }
    EXPECT_TRUE(ui.texts().empty());
}

TEST(CopyFaultTest, PermissionsNeverWidenAndReplacementsKeepTheirs)
{
    TempDir tmp;
    ScriptedServices ui;
    const mode_t saved = ::umask(022);
    tmp.writeFile("src/key", "secret");
    tmp.writeFile("src/tool", "#!/bin/sh");
    tmp.writeFile("src/kept", "new", 1700000000);
    tmp.writeFile("dst/kept", "old", 1600000000);
    ::chmod(tmp.pathOf("src/key").c_str(), 0600);
    ::chmod(tmp.pathOf("src/tool").c_str(), 04777);
    ::chmod(tmp.pathOf("dst/kept").c_str(), 0640);
    for (const char* name : {"key", "tool", "kept"})
        EXPECT_TRUE(
            BufferedCopy(ui, tmp.pathOf(std::string("src/") + name), tmp.pathOf("dst")).copied);
    ::umask(saved);
    EXPECT_EQ(statusOf(tmp.pathOf("dst/key"), false)->mode, 0600u);
    EXPECT_EQ(statusOf(tmp.pathOf("dst/tool"), false)->mode, 0755u);
    EXPECT_EQ(statusOf(tmp.pathOf("dst/kept"), false)->mode, 0640u);
}

} // namespace
} // namespace twinfold::test
