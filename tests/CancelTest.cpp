// Cancelling a run from the progress window, and keeping commands out while a run goes on.
#include "support/AppFixture.h"

#include "platform/FileSystem.h"
#include "support/FaultyFileServices.h"
#include "support/TreeSnapshot.h"

namespace twinfold::test
{
namespace
{

class CancelTest : public AppFixture
{
protected:
    void makeFiles(const std::string& dir, int count)
    {
        for (int i = 0; i < count; ++i)
            tmp.writeFile(dir + "/f" + std::to_string(i) + ".txt", "x");
    }
    void pressCancelAt(int poll, Answer answer)
    {
        ui.atPoll(poll, [this, answer] {
            ui.answer(answer);
            app->SyncBox.CancelClick();
        });
    }
    // Cancel confirmed while the named file is being copied: the run stops before the next.
    void pressCancelWhileCopying(const std::string& name)
    {
        ui.onFileStatus("Copying", name, [this] {
            ui.answer(Answer::Yes);
            app->SyncBox.requestCancel();
        });
    }
};

TEST_F(CancelTest, SelectedFilesCancelAnsweredYesAtSeveralFiles)
{
    for (int poll = 2; poll <= 4; ++poll) {
        SCOPED_TRACE(poll);
        tmp.makeDir("dst" + std::to_string(poll));
        makeFiles("src", 4);
        showSource();
        app->Main.DestDirListBox.setDirectory(tmp.pathOf("dst" + std::to_string(poll)));
        selectAll();
        app->LogFilebx.BitBtn2Click();
        ui.restart();
        pressCancelWhileCopying("/f" + std::to_string(poll - 2) + ".txt");
        ASSERT_TRUE(sync());
        EXPECT_EQ(app->LogFilebx.FileSuccess.size(), static_cast<std::size_t>(poll - 1));
        ASSERT_EQ(ui.messages.size(), 2u);
        EXPECT_EQ(ui.messages[0].form, MessageForm::Confirmation);
        EXPECT_EQ(ui.messages[0].caption, "Confirm");
        EXPECT_EQ(ui.messages[0].text, "Are you sure you wish to cancel?");
        EXPECT_EQ(ui.messages[1].text, "Operation Canceled!");
        EXPECT_FALSE(app->SyncBox.visible());
        EXPECT_EQ(app->SyncBox.ModalResult, TSyncBox::mrCancel);
    }
}

TEST_F(CancelTest, CancelAnsweredNoGoesOn)
{
    makeFiles("src", 3);
    showSource();
    selectAll();
    pressCancelAt(2, Answer::No);
    ASSERT_TRUE(sync());
    EXPECT_EQ(app->LogFilebx.FileSuccess.size(), 3u);
    EXPECT_EQ(ui.texts().back(), "File Sync Successful!");
    EXPECT_EQ(app->SyncBox.ModalResult, TSyncBox::mrRun);
}

TEST_F(CancelTest, SyncAllCancelInADeepDirectoryRunsNoAncestorPass)
{
    makeFiles("src", 2);
    makeFiles("src/a", 2);
    makeFiles("src/a/b", 3);
    showSource();
    app->Main.SyncAll.setChecked(true);
    pressCancelWhileCopying("a/b/f0.txt");
    ASSERT_TRUE(sync());
    EXPECT_EQ(app->LogFilebx.FileSuccess.size(), 1u);
    EXPECT_FALSE(fileExists(dst("a/f0.txt")));
    EXPECT_FALSE(fileExists(dst("f0.txt")));
    EXPECT_EQ(ui.texts().back(), "Operation Canceled!");
    EXPECT_EQ(app->Main.SourceDirListBox.directory(), src());
    EXPECT_EQ(app->Main.DestDirListBox.directory(), dst());
}

TEST_F(CancelTest, SyncAllCancelAtEveryPollStopsCleanly)
{
    makeFiles("src", 2);
    makeFiles("src/a", 2);
    makeFiles("src/c", 1);
    for (int poll = 1; poll <= 9; ++poll) {
        SCOPED_TRACE(poll);
        const std::string dest = "d" + std::to_string(poll);
        tmp.makeDir(dest);
        showSource();
        app->Main.DestDirListBox.setDirectory(tmp.pathOf(dest));
        app->Main.SyncAll.setChecked(true);
        app->LogFilebx.BitBtn2Click();
        ui.restart();
        pressCancelAt(poll, Answer::Yes);
        ASSERT_TRUE(sync());
        EXPECT_EQ(ui.texts().back(), "Operation Canceled!");
        EXPECT_LT(app->LogFilebx.FileSuccess.size(), 5u);
        EXPECT_EQ(app->Main.SourceDirListBox.directory(), src());
        EXPECT_EQ(app->Main.DestDirListBox.directory(), tmp.pathOf(dest));
    }
}

TEST_F(CancelTest, BatchModeStillReportsTheCancel)
{
    makeFiles("src", 2);
    showSource();
    selectAll();
    app->Main.BatchMode = true;
    pressCancelAt(1, Answer::Yes);
    ASSERT_TRUE(sync());
    EXPECT_EQ(ui.texts().back(), "Operation Canceled!");
}

TEST_F(CancelTest, CloseBoxDuringARunAsksLikeCancel)
{
    makeFiles("src", 3);
    showSource();
    selectAll();
    ui.atPoll(2, [this] {
        ui.answer(Answer::No);
        app->SyncBox.closeBoxClicked();
        EXPECT_TRUE(app->SyncBox.visible());
    });
    ASSERT_TRUE(sync());
    EXPECT_EQ(app->LogFilebx.FileSuccess.size(), 3u);
    app->SyncBox.Show();
    app->SyncBox.closeBoxClicked(); // outside a run: just closes
    EXPECT_FALSE(app->SyncBox.visible());
}

TEST_F(CancelTest, CommandsAreKeptOutWhileARunGoesOn)
{
    makeFiles("src", 3);
    tmp.makeDir("elsewhere");
    showSource();
    selectAll();
    bool secondRan = true;
    ui.atPoll(2, [&] {
        EXPECT_TRUE(app->Main.runInProgress());
        secondRan = app->mainCommand(
            [&] { app->Main.SourceDirListBox.setDirectory(tmp.pathOf("elsewhere")); });
        app->Main.SyncBtnClick(); // a second run inside the first does nothing
    });
    ASSERT_TRUE(sync());
    EXPECT_FALSE(secondRan);
    EXPECT_EQ(app->Main.SourceDirListBox.directory(), src());
    EXPECT_EQ(app->LogFilebx.FileSuccess.size(), 3u);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"File Sync Successful!"});
    EXPECT_FALSE(app->Main.runInProgress());
}

TEST_F(CancelTest, CancelDuringALongCopyAbandonsItUnlessItIsNearlyDone)
{
    // Sixteen buffers of the default size; each read takes a tenth of a second on the test's
    // clock, so the copy polls after every buffer and its pace is known.
    const std::string contents(16 * 32768, 'n');
    struct Row {
        int cancelAtRead;
        bool finished;
        bool syncAll; // the large file in a subdirectory, whose pass comes first
    };
    for (const Row row :
         {Row{1, false, false}, Row{15, true, false}, Row{1, false, true}, Row{15, true, true}}) {
        SCOPED_TRACE(std::to_string(row.cancelAtRead) + (row.syncAll ? " all" : ""));
        const std::string run =
            "run" + std::to_string(row.cancelAtRead) + (row.syncAll ? "all" : "");
        const std::string big = row.syncAll ? "a/big.bin" : "big.bin";
        tmp.writeFile(run + "/" + big, contents, evenTime(20));
        tmp.writeFile(run + "/small.txt", "s", evenTime(20));
        tmp.writeFile("dst/" + run + "/" + big, "old", evenTime());
        showSource();
        app->Main.SourceDirListBox.setDirectory(tmp.pathOf(run));
        app->Main.DestDirListBox.setDirectory(dst(run));
        app->Main.EditFilterChange();
        app->Main.SyncAll.setChecked(row.syncAll);
        if (!row.syncAll)
            selectAll();
        app->LogFilebx.BitBtn2Click();
        ui.restart();
        FaultyFileServices faulty;
        faulty.failEvery(FaultyFileServices::Call::CopyRange, EXDEV);
        int reads = 0;
        std::int64_t shownCopied = -1;
        std::int64_t shownSize = -1;
        faulty.before = [&](FaultyFileServices::Call call) {
            if (call != FaultyFileServices::Call::Read)
                return;
            ui.clock += std::chrono::milliseconds(100);
            if (++reads != row.cancelAtRead)
                return;
            ui.atPoll(ui.polls + 1, [&] {
                shownCopied = app->SyncBox.fileCopied();
                shownSize = app->SyncBox.fileSize();
                ui.answer(Answer::Yes);
                app->SyncBox.requestCancel();
            });
        };
        const ScopedFileServices seam(faulty);
        ASSERT_TRUE(sync());
        EXPECT_EQ(shownCopied, row.cancelAtRead * 32768);
        EXPECT_EQ(shownSize, static_cast<std::int64_t>(contents.size()));
        EXPECT_EQ(app->SyncBox.fileSize(), 0);
        // Abandoned: the old destination as it was and nothing else; finished: the copy in
        // place. Either way the run goes no further.
        std::map<std::string, std::string> expected = {{big, row.finished ? contents : "old"}};
        if (row.syncAll)
            expected["a/"] = "";
        // Compared whole, but not printed: half a megabyte of contents says nothing.
        EXPECT_TRUE(treeOf(dst(run)) == expected);
        EXPECT_EQ(app->LogFilebx.FileSuccess,
                  row.finished ? std::vector<std::string>{tmp.pathOf(run + "/" + big)}
                               : std::vector<std::string>{});
        EXPECT_TRUE(app->LogFilebx.FileOld.empty());
        EXPECT_TRUE(app->LogFilebx.FileFailed.empty());
        EXPECT_EQ(ui.texts(), (std::vector<std::string>{"Are you sure you wish to cancel?",
                                                        "Operation Canceled!"}));
        EXPECT_EQ(app->SyncBox.ModalResult, TSyncBox::mrCancel);
        EXPECT_EQ(app->Main.SourceDirListBox.directory(), tmp.pathOf(run));
        EXPECT_EQ(app->Main.DestDirListBox.directory(), dst(run));
    }
}

} // namespace
} // namespace twinfold::test
