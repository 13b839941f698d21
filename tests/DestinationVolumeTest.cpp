// Runs into destinations that behave like the volumes backups go to: one that ignores letter
// case, one that fills up or is read-only, one whose driver cannot remove an open file.
#include "support/AppFixture.h"
#include "support/FaultyFileServices.h"
#include "support/TreeSnapshot.h"

#include <filesystem>
#include <map>

namespace twinfold::test
{
namespace
{

using Call = FaultyFileServices::Call;
using Tree = std::map<std::string, std::string>;

class DestinationVolumeTest : public AppFixture
{
protected:
    void run(FaultyFileServices& volume, bool syncAll)
    {
        app->LogFilebx.BitBtn2Click();
        ui.restart();
        showSource();
        app->Main.SyncAll.setChecked(syncAll);
        if (!syncAll)
            selectAll();
        const ScopedFileServices seam(volume);
        ASSERT_TRUE(sync());
    }
    const TLogFilebx& log() const { return app->LogFilebx; }
};

TEST_F(DestinationVolumeTest, NamesDifferingOnlyInCaseAreNeverWrittenOntoOneFile)
{
    tmp.writeFile("src/Report.txt", "upper", evenTime());
    tmp.writeFile("src/report.txt", "lower, newer", evenTime(60));
    tmp.writeFile("src/other.txt", "other", evenTime());
    // Two subdirectories too, each with a file of the same name.
    tmp.writeFile("src/Docs/a.txt", "upper a", evenTime());
    tmp.writeFile("src/docs/a.txt", "lower a", evenTime(60));
    const std::string refusal = "Could not create destination file: " + dst("report.txt") +
                                " (the destination ignores letter case and takes it for "
                                "Report.txt).  File not copied!";
    for (const bool syncAll : {true, false}) {
        SCOPED_TRACE(syncAll);
        std::filesystem::remove_all(dst());
        tmp.makeDir("dst");
        FaultyFileServices folding;
        folding.foldCaseBelow(dst());
        // The second run finds the first one's copy and must not take it for report.txt's.
        for (int pass = 0; pass < 2; ++pass) {
            run(folding, syncAll);
            Tree expected{{"Report.txt", "upper"}, {"other.txt", "other"}};
            std::vector<std::string> failed{src("report.txt")};
            std::vector<std::string> reasons{refusal};
            if (syncAll) {
                expected.insert({{"Docs/", ""}, {"Docs/a.txt", "upper a"}});
                failed.insert(failed.begin(), src("docs"));
                reasons.insert(reasons.begin(),
                               "Could not make destination directory: " + dst("docs") +
                                   " (the destination ignores letter case and takes it for "
                                   "Docs).  Directory not copied!");
            }
            EXPECT_EQ(treeOf(dst()), expected);
            EXPECT_EQ(log().FileFailed, failed);
            EXPECT_EQ(log().FailureReasons, reasons);
            EXPECT_EQ(log().FileSuccess.size() + log().FileOld.size(), syncAll ? 3u : 2u);
            EXPECT_TRUE(ui.saw(refusal));
        }
        // Where the destination keeps case, both are copied as ever.
        std::filesystem::remove_all(dst());
        tmp.makeDir("dst");
        FaultyFileServices keeping;
        run(keeping, syncAll);
        if (syncAll) {
            EXPECT_EQ(treeOf(dst()), treeOf(src()));
        } else {
            EXPECT_EQ(treeOf(dst()), (Tree{{"Report.txt", "upper"},
                                           {"report.txt", "lower, newer"},
                                           {"other.txt", "other"}}));
        }
        EXPECT_TRUE(log().FileFailed.empty());
    }
}

TEST_F(DestinationVolumeTest, AFullVolumeIsNamedOnceAndLeavesNothingOpenBehind)
{
    tmp.writeFile("src/a.txt", "aaaa", evenTime());
    tmp.writeFile("src/b/b.txt", "bbbb", evenTime());
    tmp.writeFile("src/c.txt", "cccc", evenTime());
    tmp.writeFile("dst/c.txt", "old", evenTime(-60));
    // A killed run's leftover, which the run removes.
    tmp.writeFile("dst/.twinfold-0123456789ab.partial", "left");
    FaultyFileServices volume;
    // As on a FUSE driver: no unnamed files, and no removing a file that is still open.
    volume.failEvery(Call::CreateUnnamed, EOPNOTSUPP);
    volume.failEvery(Call::CopyRange, EXDEV);
    volume.refuseRemovingOpenFiles();
    volume.limitWrites(-1, 4); // room for b/b.txt, which comes first
    app->Optionsbx.AutoContinue.setChecked(true);
    run(volume, true);
    EXPECT_EQ(volume.removalsRefused(), 0);
    EXPECT_EQ(treeOf(dst()), (Tree{{"b/", ""}, {"b/b.txt", "bbbb"}, {"c.txt", "old"}}));
    EXPECT_EQ(log().FileSuccess, std::vector<std::string>{src("b/b.txt")});
    EXPECT_EQ(log().FileFailed, (std::vector<std::string>{src("a.txt"), src("c.txt")}));
    EXPECT_EQ(log().FailureReasons[0], "Error writing destination file: " + dst("a.txt") +
                                           ".  File not copied! Possibly out of disk space.");
    EXPECT_EQ(ui.texts(),
              (std::vector<std::string>{"No space left for " + dst() +
                                            ": its volume is full or over quota (2 failed).",
                                        "Directory Sync Successful!"}));
    // Space freed: the next run completes the backup.
    volume.limitWrites(-1, -1);
    run(volume, true);
    EXPECT_EQ(treeOf(dst()), treeOf(src()));
    EXPECT_EQ(log().FileSuccess.size(), 2u);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Directory Sync Successful!"});
}

TEST_F(DestinationVolumeTest, AReadOnlyVolumeIsNamedOnceBesideTheDesignedMessages)
{
    tmp.writeFile("src/a.txt", "a", evenTime());
    tmp.writeFile("src/b.txt", "b", evenTime());
    const Tree before = treeOf(dst());
    FaultyFileServices volume;
    volume.failEvery(Call::CreateUnnamed, EROFS);
    run(volume, false);
    EXPECT_EQ(treeOf(dst()), before);
    EXPECT_TRUE(log().FileSuccess.empty());
    EXPECT_EQ(log().FileFailed, (std::vector<std::string>{src("a.txt"), src("b.txt")}));
    EXPECT_EQ(ui.texts(),
              (std::vector<std::string>{
                  "Could not create destination file: " + dst("a.txt") + ".  File not copied!",
                  "Could not create destination file: " + dst("b.txt") + ".  File not copied!",
                  "Nothing can be written to " + dst() + ": its volume is read-only (2 failed).",
                  "File Sync Successful!"}));
    // A directory that cannot be made there abandons the run with its designed error report;
    // the line before it says why.
    tmp.writeFile("src/sub/c.txt", "c", evenTime());
    tmp.writeFile("dst/sub", "in the way");
    volume.mountReadOnly();
    ui.restart();
    showSource();
    app->Main.SyncAll.setChecked(true);
    {
        const ScopedFileServices seam(volume);
        EXPECT_FALSE(sync());
    }
    EXPECT_EQ(ui.texts(), (std::vector<std::string>{"Nothing can be written to " + dst() +
                                                        ": its volume is read-only (1 failed).",
                                                    "Invalid filename.\n" + dst() + "/sub"}));
    EXPECT_EQ(treeOf(dst()), (Tree{{"sub", "in the way"}}));
}

} // namespace
} // namespace twinfold::test
