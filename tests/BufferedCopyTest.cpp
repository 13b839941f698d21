// One file's copy: contents, time, the failure table and the temporary-file rule.
#include "engine/BufferedCopy.h"
#include "engine/TemporaryFile.h"
#include "platform/FileHandle.h"
#include "platform/FileSystem.h"
#include "support/AppFixture.h"
#include "support/ScriptedServices.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace twinfold::test
{
namespace
{

class BufferedCopyTest : public ::testing::Test
{
protected:
    bool copy(const std::string& source, const std::string& dest, bool quiet = false,
              std::int32_t buffer = 32768)
    {
        return BufferedCopy(ui, source, dest, {.quiet = quiet, .copyBuffer = buffer}).copied;
    }
    // Names in a directory other than the given ones: leftovers of a copy.
    std::vector<std::string> namesIn(const std::string& dir)
    {
        std::vector<std::string> names;
        DIR* stream = ::opendir(dir.c_str());
        while (const dirent* entry = ::readdir(stream)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..")
                names.push_back(name);
        }
        ::closedir(stream);
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDir tmp;
    ScriptedServices ui;
};

TEST_F(BufferedCopyTest, CopiesContentsAndTimeForEveryBufferShape)
{
    const std::string payload(3 * 4096, 'p');
    for (const std::int32_t buffer : {4096, 4095, 1, 0, -5, 2147483647}) {
        SCOPED_TRACE(buffer);
        tmp.writeFile("src/exact.bin", payload, evenTime(7));
        tmp.writeFile("src/empty.bin", "", evenTime(8));
        tmp.makeDir("dst" + std::to_string(buffer));
        const std::string dest = tmp.pathOf("dst" + std::to_string(buffer));
        EXPECT_TRUE(copy(tmp.pathOf("src/exact.bin"), dest, false, buffer));
        EXPECT_TRUE(copy(tmp.pathOf("src/empty.bin"), dest, false, buffer));
        EXPECT_EQ(tmp.readFile("dst" + std::to_string(buffer) + "/exact.bin"), payload);
        EXPECT_EQ(tmp.readFile("dst" + std::to_string(buffer) + "/empty.bin"), "");
        EXPECT_EQ(statusOf(dest + "/exact.bin", false)->mtimeSeconds, evenTime(6));
        EXPECT_EQ(statusOf(dest + "/empty.bin", false)->mtimeSeconds, evenTime(8));
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(BufferedCopyTest, LargeFilesAndPseudoFilesArriveWhole)
{
    // Several kernel copy requests, then the end exactly at a request's boundary and off it.
    for (const std::size_t size : {std::size_t{3} << 20, (std::size_t{2} << 20) + 5}) {
        std::string payload(size, '\0');
        for (std::size_t i = 0; i < size; ++i)
            payload[i] = static_cast<char>((i * 131) % 251);
        tmp.writeFile("src/large.bin", payload, evenTime(4));
        tmp.makeDir("dst");
        EXPECT_TRUE(copy(tmp.pathOf("src/large.bin"), tmp.pathOf("dst"), false, 4096));
        EXPECT_EQ(tmp.readFile("dst/large.bin"), payload);
    }
    // A file whose size reads as 0 but which has contents.
    tmp.makeDir("proc");
    EXPECT_TRUE(copy("/proc/version", tmp.pathOf("proc")));
    EXPECT_FALSE(tmp.readFile("proc/version").empty());
}

TEST_F(BufferedCopyTest, ReplacesAnExistingFileAndTakesAFullDestinationPath)
{
    tmp.writeFile("src/a.txt", "short");
    tmp.writeFile("dst/a.txt", "a much longer old content");
    EXPECT_TRUE(copy(tmp.pathOf("src/a.txt"), tmp.pathOf("dst")));
    EXPECT_EQ(tmp.readFile("dst/a.txt"), "short");
    // An existing file is the destination file itself.
    tmp.writeFile("dst/renamed.txt", "previous");
    EXPECT_TRUE(copy(tmp.pathOf("src/a.txt"), tmp.pathOf("dst/renamed.txt")));
    EXPECT_EQ(tmp.readFile("dst/renamed.txt"), "short");
    EXPECT_EQ(namesIn(tmp.pathOf("dst")), (std::vector<std::string>{"a.txt", "renamed.txt"}));
}

TEST_F(BufferedCopyTest, SourceThatCannotBeOpened)
{
    tmp.makeDir("dst");
    ASSERT_EQ(::mkfifo(tmp.pathOf("fifo").c_str(), 0644), 0);
    for (const std::string name : {"missing.txt", "fifo"}) {
        ui.messages.clear();
        EXPECT_FALSE(copy(tmp.pathOf(name), tmp.pathOf("dst")));
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text,
                  "Could not open file: " + tmp.pathOf(name) + ".  File not copied!");
        EXPECT_EQ(ui.messages[0].caption, "Twinfold for Windows");
    }
    EXPECT_TRUE(namesIn(tmp.pathOf("dst")).empty());
}

TEST_F(BufferedCopyTest, ReadOnlyDestinationStaysUntouchedAlsoForRoot)
{
    tmp.writeFile("src/a.txt", "new");
    tmp.writeFile("dst/a.txt", "protected");
    ASSERT_EQ(::chmod(tmp.pathOf("dst/a.txt").c_str(), 0444), 0);
    EXPECT_FALSE(copy(tmp.pathOf("src/a.txt"), tmp.pathOf("dst")));
    EXPECT_EQ(ui.texts(),
              std::vector<std::string>{"Could not create destination file: " +
                                       tmp.pathOf("dst/a.txt") + ".  File not copied!"});
    EXPECT_EQ(tmp.readFile("dst/a.txt"), "protected");
    EXPECT_EQ(namesIn(tmp.pathOf("dst")), std::vector<std::string>{"a.txt"});
}

TEST_F(BufferedCopyTest, QuietFailureShowsNothing)
{
    tmp.makeDir("dst");
    EXPECT_FALSE(copy(tmp.pathOf("missing.txt"), tmp.pathOf("dst"), true));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(BufferedCopyTest, DestinationLinkIsReplacedNeverWrittenThrough)
{
    tmp.writeFile("src/a.txt", "new");
    tmp.writeFile("elsewhere.txt", "must stay");
    tmp.makeDir("dst");
    ASSERT_EQ(::symlink(tmp.pathOf("elsewhere.txt").c_str(), tmp.pathOf("dst/a.txt").c_str()), 0);
    EXPECT_TRUE(copy(tmp.pathOf("src/a.txt"), tmp.pathOf("dst")));
    EXPECT_EQ(tmp.readFile("elsewhere.txt"), "must stay");
    EXPECT_FALSE(statusOf(tmp.pathOf("dst/a.txt"), false)->symlink);
    EXPECT_EQ(tmp.readFile("dst/a.txt"), "new");
}

TEST_F(BufferedCopyTest, FailedWriteKeepsTheOldDestinationAndLeavesNoPartialFile)
{
    const std::string big(256 * 1024, 'b');
    tmp.writeFile("src/big.bin", big);
    tmp.writeFile("dst/big.bin", "old contents");
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64 * 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool copied = copy(tmp.pathOf("src/big.bin"), tmp.pathOf("dst"));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(copied);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{
                              "Error writing destination file: " + tmp.pathOf("dst/big.bin") +
                              ".  File not copied! Possibly out of disk "
                              "space."});
    EXPECT_EQ(tmp.readFile("dst/big.bin"), "old contents");
    EXPECT_EQ(namesIn(tmp.pathOf("dst")), std::vector<std::string>{"big.bin"});
}

TEST_F(BufferedCopyTest, MissingDestinationCountsAsADirectory)
{
    tmp.writeFile("src/a.txt", "a");
    EXPECT_FALSE(copy(tmp.pathOf("src/a.txt"), tmp.pathOf("nowhere")));
    EXPECT_EQ(ui.texts(),
              std::vector<std::string>{"Could not create destination file: " +
                                       tmp.pathOf("nowhere/a.txt") + ".  File not copied!"});
}

TEST_F(BufferedCopyTest, LeftoversOfKilledRunsAreRemovedAndNothingElse)
{
    tmp.makeDir("dst");
    const std::string leftover = tmp.writeFile("dst/.twinfold-0123456789ab.partial", "torn");
    const std::string lookalike = tmp.writeFile("dst/.twinfold-notours.partial", "user's");
    tmp.makeDir("dst/.twinfold-aaaaaaaaaaaa.partial");
    const std::string live = tmp.writeFile("dst/.twinfold-bbbbbbbbbbbb.partial", "in progress");
    FileHandle holder(::open(live.c_str(), O_RDONLY | O_CLOEXEC));
    ASSERT_EQ(::flock(holder.fd(), LOCK_EX), 0);

    removeLeftoverTemporaries(tmp.pathOf("dst"));

    EXPECT_FALSE(fileExists(leftover));
    EXPECT_TRUE(fileExists(lookalike));
    EXPECT_TRUE(directoryExists(tmp.pathOf("dst/.twinfold-aaaaaaaaaaaa.partial")));
    EXPECT_TRUE(fileExists(live));
}

TEST_F(BufferedCopyTest, FileSizeByNameKeepsTheLowBits)
{
    tmp.writeFile("five.txt", "12345");
    EXPECT_EQ(FileSizeByName(tmp.pathOf("five.txt")), 5);
    EXPECT_EQ(FileSizeByName(tmp.pathOf("missing")), -1);
    const std::string sparse = tmp.pathOf("sparse.bin");
    FileHandle file(::open(sparse.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
    ASSERT_EQ(::ftruncate(file.fd(), (std::int64_t{1} << 32) + 7), 0);
    EXPECT_EQ(FileSizeByName(sparse), 7);
}

} // namespace
} // namespace twinfold::test
