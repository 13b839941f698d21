// Deleting and renaming source files, and making directories below either view.
#include "support/AppFixture.h"

#include "platform/FileSystem.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

namespace twinfold::test
{
namespace
{

namespace fs = std::filesystem;

class FileOperationsTest : public AppFixture
{
protected:
    int indexOf(const std::string& name) const
    {
        const auto& list = app->Main.FileList;
        for (int i = 0; i < list.count(); ++i) {
            if (list.item(i) == name)
                return i;
        }
        ADD_FAILURE() << name << " is not listed";
        return -1;
    }
    void select(const std::string& name) { app->Main.FileList.setSelected(indexOf(name), true); }
    bool run(void (TMain::*handler)())
    {
        return app->mainCommand([this, handler] { (app->Main.*handler)(); });
    }
    bool listed(const std::string& name) const
    {
        const auto& items = app->Main.FileList.items();
        return std::find(items.begin(), items.end(), name) != items.end();
    }
};

TEST_F(FileOperationsTest, DeleteOneFileNamesItsFullPathAndNoKeepsIt)
{
    tmp.writeFile("src/one.txt", "1");
    tmp.writeFile("src/two.txt", "2");
    showSource();
    select("one.txt");
    ui.answer(Answer::No);
    ASSERT_TRUE(run(&TMain::Delete1Click));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].form, MessageForm::Confirmation);
    EXPECT_EQ(ui.messages[0].text, "Delete File: " + src("one.txt") + "?");
    EXPECT_TRUE(fileExists(src("one.txt")));
    // The list was re-read all the same: the selection is gone.
    EXPECT_EQ(app->Main.FileList.selectedCount(), 0);

    select("one.txt");
    ui.answer(Answer::Yes);
    ASSERT_TRUE(run(&TMain::Delete1Click));
    EXPECT_FALSE(fileExists(src("one.txt")));
    EXPECT_TRUE(fileExists(src("two.txt")));
    EXPECT_FALSE(listed("one.txt"));
}

TEST_F(FileOperationsTest, DeleteSeveralAsksOnceNamingTheDirectory)
{
    for (const char* name : {"a.txt", "b.txt", "c.txt", "keep.txt"})
        tmp.writeFile(std::string("src/") + name, name);
    showSource();
    select("a.txt");
    select("b.txt");
    select("c.txt");
    ui.answer(Answer::Yes);
    ASSERT_TRUE(run(&TMain::Delete1Click));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Delete Selected Files from " + src() + "/?"});
    EXPECT_EQ(app->Main.FileList.items(), std::vector<std::string>{"keep.txt"});
}

TEST_F(FileOperationsTest, DeleteWithNothingSelectedAsksNothing)
{
    tmp.writeFile("src/a.txt", "a");
    showSource();
    ASSERT_TRUE(run(&TMain::Delete1Click)); // an unexpected question would fail the test
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(fileExists(src("a.txt")));
}

TEST_F(FileOperationsTest, ReadOnlyFileStaysSilently)
{
    chmod(tmp.writeFile("src/ro.txt", "r").c_str(), 0444);
    tmp.writeFile("src/rw.txt", "w");
    showSource();
    select("ro.txt");
    select("rw.txt");
    ui.answer(Answer::Yes);
    ASSERT_TRUE(run(&TMain::Delete1Click));
    EXPECT_EQ(ui.messages.size(), 1u); // the question only
    EXPECT_EQ(app->Main.FileList.items(), std::vector<std::string>{"ro.txt"});
}

TEST_F(FileOperationsTest, DeletingALinkedFileRemovesTheLinkOnly)
{
    const std::string outside = tmp.writeFile("outside.txt", "keep");
    ASSERT_EQ(symlink(outside.c_str(), src("link.txt").c_str()), 0);
    showSource();
    select("link.txt");
    ui.answer(Answer::Yes);
    ASSERT_TRUE(run(&TMain::Delete1Click));
    EXPECT_FALSE(fs::is_symlink(src("link.txt")));
    EXPECT_EQ(tmp.readFile("outside.txt"), "keep");
}

TEST_F(FileOperationsTest, RenameGivesTheCurrentFileTheNewName)
{
    tmp.writeFile("src/old.txt", "content");
    showSource();
    select("old.txt");
    app->Main.FileList.setItemIndex(indexOf("old.txt"));
    ui.answerInput("New.txt");
    ASSERT_TRUE(run(&TMain::Rename1Click));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "Rename File");
    EXPECT_EQ(ui.messages[0].text, "Enter New File Name: [old.txt]");
    EXPECT_EQ(tmp.readFile("src/New.txt"), "content");
    EXPECT_EQ(app->Main.FileList.items(), std::vector<std::string>{"New.txt"});
}

TEST_F(FileOperationsTest, RenameOntoAnExistingNameChangesNothing)
{
    tmp.writeFile("src/a.txt", "a");
    tmp.writeFile("src/b.txt", "b");
    showSource();
    select("a.txt");
    app->Main.FileList.setItemIndex(indexOf("a.txt"));
    ui.answerInput("b.txt");
    ASSERT_TRUE(run(&TMain::Rename1Click));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].form, MessageForm::Plain);
    EXPECT_EQ(ui.messages[1].text, "File not renamed!");
    EXPECT_EQ(tmp.readFile("src/a.txt"), "a");
    EXPECT_EQ(tmp.readFile("src/b.txt"), "b");
}

TEST_F(FileOperationsTest, RenameWithoutACurrentFileDoesNothing)
{
    tmp.writeFile("src/a.txt", "a");
    tmp.writeFile("src/b.txt", "b");
    showSource();
    // Nothing selected.
    app->Main.FileList.setItemIndex(indexOf("a.txt"));
    ASSERT_TRUE(run(&TMain::Rename1Click));
    // b selected, but the focus is on a: there is no current file either.
    select("b.txt");
    ASSERT_TRUE(run(&TMain::Rename1Click)); // an input box would fail the test
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(app->Main.FileList.selectedCount(), 1);
    EXPECT_TRUE(fileExists(src("a.txt")));
    EXPECT_TRUE(fileExists(src("b.txt")));
}

TEST_F(FileOperationsTest, RenameCancelledStillRereadsTheList)
{
    tmp.writeFile("src/a.txt", "a");
    showSource();
    select("a.txt");
    app->Main.FileList.setItemIndex(0);
    ui.answerInput(std::nullopt);
    ASSERT_TRUE(run(&TMain::Rename1Click));
    EXPECT_TRUE(fileExists(src("a.txt")));
    EXPECT_EQ(app->Main.FileList.selectedCount(), 0);
}

TEST_F(FileOperationsTest, MakeDirectoryCreatesEveryMissingLevel)
{
    ui.answerInput(src("new/deeper"));
    ASSERT_TRUE(run(&TMain::MakeDirectorySDClick));
    EXPECT_EQ(ui.messages.at(0).caption, "Create Directory");
    EXPECT_EQ(ui.messages.at(0).text, "Enter New Directory Name: [" + src() + "]");
    EXPECT_TRUE(directoryExists(src("new/deeper")));
    // The view stays where it was and lists the new directory.
    EXPECT_EQ(app->Main.SourceDirListBox.directory(), src());
    EXPECT_EQ(app->Main.SourceDirListBox.subdirectoryNames(), std::vector<std::string>{"new"});
}

TEST_F(FileOperationsTest, MakeDirectoryWithTrailingSeparatorOrRelativeText)
{
    ui.answerInput(dst("one/"));
    ASSERT_TRUE(run(&TMain::MakeDirectoryDDClick));
    EXPECT_TRUE(directoryExists(dst("one")));
    // A relative text is taken below the view's own directory.
    ui.answerInput("two/three");
    ASSERT_TRUE(run(&TMain::MakeDirectoryDDClick));
    EXPECT_TRUE(directoryExists(dst("two/three")));
    EXPECT_EQ(app->Main.DestDirListBox.subdirectoryNames(),
              (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(ui.messages.size(), 2u); // the two input boxes, nothing else
}

TEST_F(FileOperationsTest, MakeDirectoryWithUnchangedTextCreatesNothing)
{
    ui.answerInput(src());
    ASSERT_TRUE(run(&TMain::MakeDirectorySDClick));
    ui.answerInput(std::nullopt);
    ASSERT_TRUE(run(&TMain::MakeDirectorySDClick));
    EXPECT_EQ(ui.messages.size(), 2u);
    EXPECT_TRUE(fs::is_empty(src()));
}

TEST_F(FileOperationsTest, MakeDirectoryWithEmptyTextIsAnError)
{
    ui.answerInput("");
    EXPECT_FALSE(run(&TMain::MakeDirectorySDClick));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].form, MessageForm::Error);
    EXPECT_EQ(ui.messages[1].text, "Unable to create directory.");
    // A name without a directory part has no parent to make: it fails, made nowhere.
    ui.answerInput("newdir");
    EXPECT_FALSE(run(&TMain::MakeDirectorySDClick));
    ASSERT_EQ(ui.messages.size(), 4u);
    EXPECT_EQ(ui.messages[3].text, "Unable to create directory.");
    EXPECT_TRUE(fs::is_empty(src()));
}

TEST_F(FileOperationsTest, MakeDirectoryBelowAFileFailsSilently)
{
    tmp.writeFile("src/plain", "x");
    ui.answerInput(src("plain/sub"));
    ASSERT_TRUE(run(&TMain::MakeDirectorySDClick));
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(tmp.readFile("src/plain"), "x");
}

} // namespace
} // namespace twinfold::test
