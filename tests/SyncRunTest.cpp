// The Sync command in selected-files mode: the newer-than rule, messages and result lists.
#include "support/AppFixture.h"
#include "support/TreeSnapshot.h"

#include "platform/FileHandle.h"
#include "platform/FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace twinfold::test
{
namespace
{

using SyncRunTest = AppFixture;

std::int64_t mtimeOf(const std::string& path)
{
    return statusOf(path, false)->mtimeSeconds;
}

TEST_F(SyncRunTest, CopiesNewerAndMissingFilesAndSkipsTheRest)
{
    tmp.writeFile("src/new.txt", "new", evenTime(10));
    tmp.writeFile("src/same.txt", "source", evenTime(0));
    tmp.writeFile("dst/same.txt", "dest", evenTime(0));
    tmp.writeFile("src/older.txt", "source", evenTime(0));
    tmp.writeFile("dst/older.txt", "newer dest", evenTime(100));
    tmp.writeFile("src/newer.txt", "fresh", evenTime(100));
    tmp.writeFile("dst/newer.txt", "stale", evenTime(0));
    tmp.writeFile("dst/only-here.txt", "kept", evenTime(0));
    showSource();
    selectAll();

    ASSERT_TRUE(sync());

    EXPECT_EQ(ui.texts(), std::vector<std::string>{"File Sync Successful!"});
    EXPECT_EQ(ui.messages[0].caption, "Twinfold for Windows");
    EXPECT_EQ(tmp.readFile("dst/new.txt"), "new");
    EXPECT_EQ(tmp.readFile("dst/newer.txt"), "fresh");
    EXPECT_EQ(tmp.readFile("dst/same.txt"), "dest");
    EXPECT_EQ(tmp.readFile("dst/older.txt"), "newer dest");
    EXPECT_EQ(tmp.readFile("dst/only-here.txt"), "kept");
    EXPECT_EQ(mtimeOf(dst("newer.txt")), evenTime(100));
    const auto& log = app->LogFilebx;
    EXPECT_EQ(log.FileSuccess, (std::vector<std::string>{src("new.txt"), src("newer.txt")}));
    // A destination newer by less than two hours is judged once the run has seen every file,
    // whose evidence may show that destination's clock reading late.
    EXPECT_EQ(log.FileOld, (std::vector<std::string>{src("same.txt"), src("older.txt")}));
    EXPECT_TRUE(log.FileFailed.empty());
    EXPECT_FALSE(app->SyncBox.visible());
}

TEST_F(SyncRunTest, TimesInOneTwoSecondStepAreEqual)
{
    tmp.writeFile("src/a.txt", "source", evenTime(1));
    tmp.writeFile("dst/a.txt", "dest", evenTime(0));
    tmp.writeFile("src/b.txt", "source", evenTime(2));
    tmp.writeFile("dst/b.txt", "dest", evenTime(0));
    tmp.writeFile("src/c.txt", "odd", evenTime(3));
    showSource();
    selectAll();
    ASSERT_TRUE(sync());
    EXPECT_EQ(tmp.readFile("dst/a.txt"), "dest");
    EXPECT_EQ(tmp.readFile("dst/b.txt"), "source");
    // The copy carries its source's time rounded down to the two-second step.
    EXPECT_EQ(mtimeOf(dst("c.txt")), evenTime(2));
    EXPECT_EQ(app->SyncBox.Process.text(), "Copying");
}

// Times before 1980 and after 2107 have no packed form: the times themselves are compared, at
// the two-second step, and a copy keeps its source's time like any other.
TEST_F(SyncRunTest, TimesThatCannotBePackedAreCopiedAndComparedAsTheyAre)
{
    constexpr std::int64_t In1973 = 100000000;
    constexpr std::int64_t In2110 = 4417977600;
    tmp.writeFile("src/ancient.txt", "1973", In1973);
    tmp.writeFile("src/future.txt", "2110", In2110);
    tmp.writeFile("src/mixed.txt", "2024", evenTime());
    tmp.writeFile("dst/mixed.txt", "1975", 157766400);
    showSource();
    selectAll();
    ASSERT_TRUE(sync());
    EXPECT_EQ(treeOf(dst()), treeOf(src()));
    EXPECT_EQ(mtimeOf(dst("ancient.txt")), In1973);
    EXPECT_EQ(mtimeOf(dst("future.txt")), In2110);
    const std::vector<std::string> all{src("ancient.txt"), src("future.txt"), src("mixed.txt")};
    EXPECT_EQ(app->LogFilebx.FileSuccess, all);

    // In step: nothing to copy. Then a later 1973 source is copied, an earlier 2110 one is not.
    ASSERT_TRUE(sync());
    EXPECT_EQ(app->LogFilebx.FileOld, all);
    tmp.writeFile("src/ancient.txt", "1973, later", In1973 + 2);
    tmp.writeFile("src/future.txt", "2110, earlier", In2110 - 2);
    showSource();
    selectAll();
    ASSERT_TRUE(sync());
    EXPECT_EQ(tmp.readFile("dst/ancient.txt"), "1973, later");
    EXPECT_EQ(tmp.readFile("dst/future.txt"), "2110");
    EXPECT_EQ(app->LogFilebx.FileSuccess.back(), src("ancient.txt"));
    EXPECT_EQ(app->LogFilebx.FileOld.size(), 5u);
    EXPECT_TRUE(app->LogFilebx.FileFailed.empty());
}

TEST_F(SyncRunTest, TimesFrom2044OnOrderAfterEarlierOnes)
{
    constexpr std::int64_t Year2050 = 2524608000;
    tmp.writeFile("src/future.txt", "2050", Year2050);
    tmp.writeFile("dst/future.txt", "2030", 1893456000);
    tmp.writeFile("src/past.txt", "2030", 1893456000);
    tmp.writeFile("dst/past.txt", "2050", Year2050);
    showSource();
    selectAll();
    ASSERT_TRUE(sync());
    EXPECT_EQ(tmp.readFile("dst/future.txt"), "2050");
    EXPECT_EQ(tmp.readFile("dst/past.txt"), "2050");
}

TEST_F(SyncRunTest, DirectoryOfTheSameNameInTheDestination)
{
    tmp.writeFile("src/clash", "file", evenTime(100));
    tmp.makeDir("dst/clash");
    ::utimensat(AT_FDCWD, dst("clash").c_str(), nullptr, 0);
    showSource();
    selectAll();
    app->Settings.AutoContinue = false;
    ASSERT_TRUE(sync());
    // The directory is newer than the file: skipped.
    EXPECT_EQ(app->LogFilebx.FileOld, std::vector<std::string>{src("clash")});

    tmp.writeFile("src/clash", "file", 2000000000); // 2033, newer than the directory
    showSource();
    selectAll();
    ASSERT_TRUE(sync());
    EXPECT_EQ(app->LogFilebx.FileFailed, std::vector<std::string>{src("clash")});
    EXPECT_TRUE(
        ui.saw("Could not create destination file: " + dst("clash") + ".  File not copied!"));
    EXPECT_TRUE(directoryExists(dst("clash")));
}

TEST_F(SyncRunTest, NoSelectionOnlySaysSo)
{
    tmp.writeFile("src/a.txt", "a");
    showSource();
    ASSERT_TRUE(sync());
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"No items selected to sync!"});
    EXPECT_FALSE(app->SyncBox.visible());
    EXPECT_EQ(ui.polls, 0);
}

TEST_F(SyncRunTest, VanishedSourceIsSkipped)
{
    tmp.writeFile("src/a.txt", "a");
    tmp.writeFile("src/b.txt", "b");
    showSource();
    selectAll();
    ui.atPoll(1, [&] { ::unlink(src("b.txt").c_str()); });
    ASSERT_TRUE(sync());
    EXPECT_EQ(app->LogFilebx.FileSuccess, std::vector<std::string>{src("a.txt")});
    EXPECT_EQ(app->LogFilebx.FileOld, std::vector<std::string>{src("b.txt")});
}

TEST_F(SyncRunTest, SameDirectorySkipsEverything)
{
    tmp.writeFile("src/a.txt", "a");
    showSource();
    app->Main.DestDirListBox.setDirectory(src());
    selectAll();
    ASSERT_TRUE(sync());
    EXPECT_EQ(app->LogFilebx.FileOld.size(), 1u);
    EXPECT_TRUE(app->LogFilebx.FileSuccess.empty());
}

TEST_F(SyncRunTest, UnselectedEntriesArePolledButNotCounted)
{
    tmp.writeFile("src/a.txt", "a");
    tmp.writeFile("src/b.txt", "b");
    tmp.writeFile("src/c.txt", "c");
    showSource();
    app->Main.FileList.setSelected(1, true);
    ASSERT_TRUE(sync());
    EXPECT_EQ(ui.polls, 3);
    EXPECT_EQ(app->SyncBox.Gauge.maxValue(), 1);
    EXPECT_EQ(app->SyncBox.Gauge.percentDone(), 100);
    EXPECT_EQ(app->LogFilebx.FileSuccess, std::vector<std::string>{src("b.txt")});
    EXPECT_EQ(app->Main.FileList.itemIndex(), 1);
}

TEST_F(SyncRunTest, ResultListsAccumulateOverRuns)
{
    tmp.writeFile("src/a.txt", "a");
    showSource();
    selectAll();
    ASSERT_TRUE(sync());
    selectAll();
    ASSERT_TRUE(sync());
    EXPECT_EQ(app->LogFilebx.FileSuccess, std::vector<std::string>{src("a.txt")});
    EXPECT_EQ(app->LogFilebx.FileOld, std::vector<std::string>{src("a.txt")});
}

TEST_F(SyncRunTest, BatchModeLeavesOutOnlyTheSuccessMessages)
{
    tmp.writeFile("src/a.txt", "a");
    showSource();
    app->Main.BatchMode = true;
    ASSERT_TRUE(sync());
    selectAll();
    ASSERT_TRUE(sync());
    showSource(); // a new listing selects nothing
    app->Main.SyncAll.setChecked(true);
    ASSERT_TRUE(sync());
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"No items selected to sync!"});

    app->Main.BatchMode = false;
    ASSERT_TRUE(sync());
    EXPECT_EQ(ui.texts().back(), "Directory Sync Successful!");
}

TEST_F(SyncRunTest, DryRunChangesNothing)
{
    tmp.writeFile("src/a.txt", "new", evenTime(100));
    tmp.writeFile("dst/a.txt", "old", evenTime(0));
    tmp.writeFile("src/sub/b.txt", "b");
    showSource();
    app->Main.dryRun = true;
    app->Main.SyncAll.setChecked(true);
    ASSERT_TRUE(sync());
    EXPECT_EQ(tmp.readFile("dst/a.txt"), "old");
    EXPECT_FALSE(directoryExists(dst("sub")));
    EXPECT_EQ(app->LogFilebx.FileSuccess,
              (std::vector<std::string>{src("sub/b.txt"), src("a.txt")}));
}

} // namespace
} // namespace twinfold::test
