// The batch editor's handlers and states.
#include "support/AppFixture.h"

#include "batch/BatchFile.h"
#include "platform/FileSystem.h"

#include <sys/stat.h>

namespace twinfold::test
{
namespace
{

class BatchEditorTest : public AppFixture
{
protected:
    BatchEditorTest() : editor(app->BatchDlg)
    {
        tmp.writeFile("jobs/a.ini", "");
        tmp.writeFile("jobs/B.ini", "");
        tmp.writeFile("jobs/c.txt", "");
        showSource();
        app->Main.SourceDirListBox.setDirectory(tmp.pathOf("jobs"));
        app->Main.BatchFileEditor1Click();
    }
    TBatchDlg& editor;
};

TEST_F(BatchEditorTest, OpensUntitledOnTheSourceDirectory)
{
    EXPECT_EQ(ui.modalWindows, std::vector<std::string>{"TBatchDlg"});
    EXPECT_EQ(editor.Caption, "Batch Editor (Untitled)");
    EXPECT_EQ(editor.BatchFileName, "Untitled");
    EXPECT_FALSE(editor.Modified);
    EXPECT_EQ(editor.SourceLabel.text(), tmp.pathOf("jobs"));
    EXPECT_EQ(editor.FileList.items(), (std::vector<std::string>{"a.ini", "B.ini"}));
    editor.FilterComboBox1.setItemIndex(1);
    editor.FilterComboBox1Change();
    EXPECT_EQ(editor.FileList.count(), 3);
}

TEST_F(BatchEditorTest, AddingAndRemovingEntries)
{
    editor.FileList.setItemIndex(1);
    editor.FileListDblClick(); // the current item is not selected: nothing added
    EXPECT_EQ(editor.BatchList.count(), 0);
    EXPECT_TRUE(editor.Modified);
    editor.FileList.setSelected(1, true);
    editor.FileListDblClick();
    editor.FileList.setSelected(0, true);
    editor.SpeedButton4Click();
    EXPECT_EQ(editor.BatchList.items(),
              (std::vector<std::string>{tmp.pathOf("jobs/B.ini"), tmp.pathOf("jobs/a.ini"),
                                        tmp.pathOf("jobs/B.ini")}));
    editor.BatchList.setItemIndex(0);
    editor.BatchListDblClick();
    EXPECT_EQ(editor.BatchList.count(), 2);
}

TEST_F(BatchEditorTest, RemovingEntriesOneTwoAndFourOfFive)
{
    for (const char* entry : {"1", "2", "3", "4", "5"})
        editor.BatchList.add(entry);
    for (const int index : {0, 1, 3})
        editor.BatchList.setSelected(index, true);
    editor.SpeedButton3Click();
    EXPECT_EQ(editor.BatchList.items(), (std::vector<std::string>{"3", "5"}));
}

TEST_F(BatchEditorTest, SaveUntitledActsAsSaveAsAndSaveKeepsTheTitle)
{
    app->Settings.BatchDir = tmp.pathOf("conf/tfoldw.tfw");
    editor.BatchList.add("/x.ini");
    editor.Modified = true;
    ui.answerDialog(tmp.pathOf("mine.tfw"));
    editor.Save1Click();
    EXPECT_EQ(ui.dialogs.back().fileName, "tfoldw.tfw");
    EXPECT_EQ(ui.dialogs.back().initialDirectory, tmp.pathOf("conf/"));
    EXPECT_EQ(ui.dialogs.back().filter, "Tfold Batch (*.tfw)|*.tfw|All Files (*.*)|*.*");
    EXPECT_EQ(editor.Caption, "Batch Editor (mine.tfw)");
    EXPECT_EQ(editor.BatchFileName, tmp.pathOf("mine.tfw"));
    EXPECT_EQ(app->Settings.BatchDir, tmp.pathOf("mine.tfw"));
    EXPECT_FALSE(editor.Modified);
    EXPECT_EQ(ReadBatchFile(tmp.pathOf("mine.tfw")), std::vector<std::string>{"/x.ini"});

    editor.BatchList.add("/y.ini");
    editor.Caption = "changed by nobody";
    editor.Save1Click();
    EXPECT_EQ(editor.Caption, "changed by nobody");
    EXPECT_EQ(ReadBatchFile(tmp.pathOf("mine.tfw")).size(), 2u);
}

TEST_F(BatchEditorTest, OpenReplacesWithoutAskingAndNewAsksWhenModified)
{
    WriteBatchFile(tmp.pathOf("old.tfw"), {"/one.ini", "/two.ini"});
    editor.BatchList.add("/unsaved.ini");
    editor.Modified = true;
    ui.answerDialog(tmp.pathOf("old.tfw"));
    editor.Open1Click();
    EXPECT_EQ(editor.BatchList.items(), (std::vector<std::string>{"/one.ini", "/two.ini"}));
    EXPECT_EQ(editor.Caption, "Batch Editor (old.tfw)");
    EXPECT_FALSE(editor.Modified);

    editor.SpeedButton3Click(); // an edit that changes nothing still counts
    ui.answer(Answer::No);
    editor.New1Click();
    EXPECT_EQ(ui.messages.back().text, "Do you wish clear current changes?");
    EXPECT_EQ(editor.BatchList.count(), 2);
    ui.answer(Answer::Yes);
    editor.New1Click();
    EXPECT_EQ(editor.BatchList.count(), 0);
    EXPECT_EQ(editor.Caption, "Batch Editor (Untitled)");
}

TEST_F(BatchEditorTest, SavingAnEmptyListRemovesTheFile)
{
    WriteBatchFile(tmp.pathOf("old.tfw"), {"/one.ini"});
    ui.answerDialog(tmp.pathOf("old.tfw"));
    editor.Open1Click();
    editor.BatchList.setSelected(0, true);
    editor.SpeedButton3Click();
    editor.Save1Click();
    EXPECT_FALSE(fileExists(tmp.pathOf("old.tfw")));
}

TEST_F(BatchEditorTest, FailedSaveKeepsTheEditorsState)
{
    const std::string locked = tmp.writeFile("locked.tfw", "[Files]\nFile0=/keep.ini\n");
    ASSERT_EQ(::chmod(locked.c_str(), 0444), 0);
    editor.BatchList.add("/new.ini");
    editor.Modified = true;
    ui.answerDialog(locked);
    EXPECT_FALSE(app->command([&] { editor.SaveAsMenuClick(); }));
    EXPECT_EQ(ui.messages.back().text, "Unable to write to " + locked + ".");
    EXPECT_EQ(editor.BatchFileName, "Untitled");
    EXPECT_EQ(editor.Caption, "Batch Editor (Untitled)");
    EXPECT_TRUE(editor.Modified);
    EXPECT_EQ(tmp.readFile("locked.tfw"), "[Files]\nFile0=/keep.ini\n");
}

TEST_F(BatchEditorTest, ExitAsksOnlyWithChanges)
{
    editor.BatchList.add("/x.ini");
    editor.Modified = true;
    ui.answer(Answer::No);
    editor.ExitClick();
    EXPECT_TRUE(editor.visible());
    EXPECT_EQ(ui.messages.back().text,
              "You are about to exit after making changes...Do you wish to continue?");
    ui.answer(Answer::Yes);
    editor.ExitClick();
    EXPECT_FALSE(editor.visible());

    app->Main.BatchFileEditor1Click();
    EXPECT_EQ(editor.BatchList.count(), 0);
    const auto questions = ui.messages.size();
    editor.ExitClick();
    EXPECT_FALSE(editor.visible());
    EXPECT_EQ(ui.messages.size(), questions);

    app->Main.BatchFileEditor1Click();
    editor.Modified = true;
    editor.CancelClick();
    EXPECT_FALSE(editor.visible());
}

} // namespace
} // namespace twinfold::test
