// Destinations whose times are not the ones the run wrote or expects: a volume read with a clock
// whole hours off, and file systems that drop or round a time set on a copy.
#include "support/AppFixture.h"
#include "support/FaultyFileServices.h"
#include "support/TreeSnapshot.h"

#include "platform/DosTime.h"
#include "platform/FileHandle.h"

#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>

namespace twinfold::test
{
namespace
{

class DestinationTimesTest : public AppFixture
{
protected:
    std::vector<std::string> notices() const
    {
        std::vector<std::string> texts;
        for (const auto& message : ui.messages) {
            if (message.form == MessageForm::Notice || message.form == MessageForm::Remark)
                texts.push_back(message.text);
        }
        return texts;
    }
    void syncAll()
    {
        ui.restart();
        showSource();
        app->Main.SyncAll.setChecked(true);
        ASSERT_TRUE(sync());
    }
    // A source file and its earlier copy, both of the same time and contents.
    void copied(const std::string& name, const std::string& contents, std::int64_t time)
    {
        tmp.writeFile("src/" + name, contents, time);
        tmp.writeFile("dst/" + name, contents, time);
    }
};

// The files of a stick were written at one offset and are read at another: every one reads an
// hour late, so a file edited within the hour after the last backup reads older than its copy.
TEST_F(DestinationTimesTest, ADestinationReadingAnHourLateIsSaidAndCompensatedWhenUnambiguous)
{
    const std::int64_t t = evenTime();
    for (const bool secondClock : {false, true}) {
        SCOPED_TRACE(secondClock ? "one file two hours off" : "every file one hour off");
        std::filesystem::remove_all(src());
        std::filesystem::remove_all(dst());
        app->LogFilebx.BitBtn2Click();
        copied("a.txt", "alpha", t);
        copied("b.txt", "bravo", t - 600);
        copied("sub/c.txt", "charlie", t - 1200);
        copied("d.txt", "delta", t - 1800);
        // Edited half an hour after its backup, keeping its size.
        tmp.writeFile("src/edited.txt", "edited 2", t + 1800);
        tmp.writeFile("dst/edited.txt", "edited 1", t);
        tmp.writeFile("src/new.txt", "new", t);
        if (secondClock) {
            tmp.writeFile("src/e.txt", "echo", t);
            tmp.writeFile("dst/e.txt", "echo", t + 3600); // reads two hours late
        }
        FaultyFileServices stick;
        stick.shiftTimes(dst(), 3600);
        const ScopedFileServices seam(stick);
        syncAll();

        auto expected = treeOf(src());
        const auto& log = app->LogFilebx;
        std::vector<std::string> old{src("sub/c.txt"), src("a.txt"), src("b.txt"), src("d.txt")};
        if (secondClock) {
            // Two clocks: the plain comparison stands, and the run says what it could not do.
            expected["edited.txt"] = "edited 1";
            old.insert(old.end(), {src("e.txt"), src("edited.txt")});
            EXPECT_EQ(log.FileSuccess, std::vector<std::string>{src("new.txt")});
            EXPECT_EQ(notices(),
                      (std::vector<std::string>{
                          "The times in " + dst() +
                              " read 1 hour late against the source on 4 files of equal size; "
                              "not compensated: a file changed within that time may not have "
                              "been copied (a time shift of 1 compensates it).",
                          "The times in " + dst() +
                              " read 2 hours late against the source on 1 file of equal size; "
                              "not compensated: a file changed within that time may not have "
                              "been copied (a time shift of 2 compensates it)."}));
        } else {
            EXPECT_EQ(log.FileSuccess,
                      (std::vector<std::string>{src("new.txt"), src("edited.txt")}));
            EXPECT_EQ(notices(),
                      std::vector<std::string>{
                          "The times in " + dst() +
                          " read 1 hour late against the source on 4 files of equal size; the run "
                          "compensated it: files changed within that time were copied."});
        }
        EXPECT_EQ(treeOf(dst()), expected);
        EXPECT_EQ(log.FileOld, old);
        EXPECT_TRUE(log.FileFailed.empty());

        // The copies were timed through the same clock: a second run copies nothing more.
        const std::size_t copies = log.FileSuccess.size();
        syncAll();
        EXPECT_EQ(log.FileSuccess.size(), copies);
        EXPECT_EQ(notices().size(), secondClock ? 2u : 1u);
        EXPECT_EQ(treeOf(dst()), expected);
    }
}

// Files really changed an hour after their backup look like a clock an hour early: they are
// copied as always; only a setting could make the run take them for unchanged.
TEST_F(DestinationTimesTest, FilesChangedAnHourAfterTheirBackupAreAllCopied)
{
    const std::int64_t t = evenTime();
    for (const char* name : {"a.txt", "b.txt", "sub/c.txt"}) {
        tmp.writeFile(std::string("src/") + name, "changed", t + 3600);
        tmp.writeFile(std::string("dst/") + name, "earlier", t);
    }
    syncAll();
    EXPECT_EQ(treeOf(dst()), treeOf(src()));
    EXPECT_EQ(app->LogFilebx.FileSuccess.size(), 3u);
    EXPECT_TRUE(app->LogFilebx.FileOld.empty());
    EXPECT_EQ(notices(), std::vector<std::string>{
                             "The times in " + dst() +
                             " read 1 hour early against the source on 3 files of equal size; "
                             "such files were copied again (a time shift of -1 copies only the "
                             "files changed since)."});
}

// A driver that ignores a request to set a time, or keeps it coarser than the two-second step,
// leaves every later run comparing with another time than the source's: said once a run.
TEST_F(DestinationTimesTest, ATimeTheDestinationDoesNotKeepIsSaidOnce)
{
    const std::int64_t t = evenTime();
    tmp.writeFile("src/a.txt", "alpha", t);
    tmp.writeFile("src/b.txt", "bravo", t);
    struct timespec times[2]{};
    times[0].tv_sec = static_cast<time_t>(t - 86400);
    times[1].tv_sec = static_cast<time_t>(t);
    ASSERT_EQ(::utimensat(AT_FDCWD, src("a.txt").c_str(), times, 0), 0);
    syncAll();
    // The access time goes with the modification time: some drivers drop a request without it.
    EXPECT_EQ(statusOf(dst("a.txt"), false)->atimeSeconds, t - 86400);
    EXPECT_TRUE(notices().empty());

    for (const bool ignored : {true, false}) {
        SCOPED_TRACE(ignored ? "ignored" : "kept to the minute");
        std::filesystem::remove_all(dst());
        tmp.makeDir("dst");
        FaultyFileServices volume;
        if (ignored)
            volume.ignoreTimeRequests();
        else
            volume.roundTimes(60);
        const ScopedFileServices seam(volume);
        syncAll();
        EXPECT_EQ(treeOf(dst()), treeOf(src()));
        EXPECT_EQ(app->LogFilebx.FileSuccess.back(), src("b.txt"));
        const auto said = notices();
        ASSERT_EQ(said.size(), 1u);
        EXPECT_TRUE(said[0].starts_with("The file system of " + dst() +
                                        " did not keep the time set on a copy (" + dst("a.txt") +
                                        ": set " + localTimeText(t) + ", kept "))
            << said[0];
    }
}

} // namespace
} // namespace twinfold::test
