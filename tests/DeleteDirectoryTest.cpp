// The delete-directory dialog: deleting a directory's files or its whole tree, and what the
// tree deletion must never touch.
#include "support/AppFixture.h"

#include "platform/FileSystem.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

namespace twinfold::test
{
namespace
{

namespace fs = std::filesystem;

class DeleteDirectoryTest : public AppFixture
{
protected:
    // Runs OK on the dialog for a path as the front end does; false when an error was reported.
    bool deleteDirectory(const std::string& path, bool subdirectories)
    {
        app->Delete.Edit1.setText(path);
        app->Delete.DelSubdir.setChecked(subdirectories);
        app->Delete.ShowModal();
        return app->command([this] { app->Delete.BitBtn2Click(); });
    }
    std::vector<std::string> errors() const
    {
        std::vector<std::string> texts;
        for (const auto& message : ui.messages) {
            if (message.form == MessageForm::Error)
                texts.push_back(message.text);
        }
        return texts;
    }
    static std::string problem(const std::string& path)
    {
        return "Problem removing directory: " + path;
    }
};

TEST_F(DeleteDirectoryTest, CommandFillsTheDialogAndKeepsTheTick)
{
    tmp.makeDir("dst/MixedCase");
    app->Main.DestDirListBox.setDirectory(dst("MixedCase"));
    app->Delete.DelSubdir.setChecked(true);
    app->Main.DeleteDirectoryDDClick();
    EXPECT_EQ(app->Delete.Edit1.text(), dst("MixedCase")); // the case is kept
    EXPECT_TRUE(app->Delete.visible());
    EXPECT_TRUE(app->Delete.DelSubdir.checked());
    EXPECT_EQ(ui.modalWindows, std::vector<std::string>{"TDelete"});
    app->Delete.BitBtn1Click();
    EXPECT_FALSE(app->Delete.visible());
    EXPECT_TRUE(directoryExists(dst("MixedCase")));

    app->Main.DeleteDirectorySDClick();
    EXPECT_EQ(app->Delete.Edit1.text(), src());
}

TEST_F(DeleteDirectoryTest, FilesOnlyKeepsTheDirectoryItsSubdirectoriesAndTheView)
{
    tmp.writeFile("src/a.txt", "a");
    tmp.writeFile("src/b.txt", "b");
    chmod(tmp.writeFile("src/ro.txt", "r").c_str(), 0444);
    tmp.writeFile("src/sub/inner.txt", "i");
    showSource();
    ASSERT_TRUE(deleteDirectory(src(), false));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(app->Main.SourceDirListBox.directory(), src());
    EXPECT_EQ(app->Main.FileList.items(), std::vector<std::string>{"ro.txt"});
    EXPECT_EQ(tmp.readFile("src/sub/inner.txt"), "i");
    EXPECT_FALSE(app->Delete.visible());
    EXPECT_EQ(ui.polls, 1);
    EXPECT_EQ(ui.busyDepth, 0);
}

TEST_F(DeleteDirectoryTest, TreeBelowTheSourceIsRemovedAndNoLongerListed)
{
    tmp.writeFile("src/keep.txt", "k");
    tmp.writeFile("src/tree/a/b/deep.txt", "d");
    tmp.writeFile("src/tree/.hidden/h", "h");
    tmp.writeFile("src/tree/top.txt", "t");
    tmp.makeDir("src/other");
    showSource();
    ASSERT_TRUE(deleteDirectory(src("tree"), true));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(fs::exists(src("tree")));
    EXPECT_EQ(app->Main.SourceDirListBox.subdirectoryNames(), std::vector<std::string>{"other"});
    EXPECT_EQ(app->Main.FileList.items(), std::vector<std::string>{"keep.txt"});
}

TEST_F(DeleteDirectoryTest, DestinationsOwnDirectoryMovesTheViewToTheParentFirst)
{
    tmp.writeFile("dst/x/y.txt", "y");
    ASSERT_TRUE(deleteDirectory(dst(), true));
    EXPECT_FALSE(fs::exists(dst()));
    EXPECT_EQ(app->Main.DestDirListBox.directory(), tmp.path());
    EXPECT_EQ(app->Main.SourceDirListBox.directory(), src());
}

TEST_F(DeleteDirectoryTest, ReadOnlyFileKeepsItsDirectoriesInnermostFirst)
{
    chmod(tmp.writeFile("dst/t/a/b/ro.txt", "r").c_str(), 0444);
    tmp.writeFile("dst/t/a/b/rw.txt", "w");
    tmp.writeFile("dst/t/a/c/gone.txt", "g");
    tmp.writeFile("dst/t/z/gone.txt", "g");
    ASSERT_TRUE(deleteDirectory(dst("t"), true));
    EXPECT_EQ(ui.texts(), (std::vector<std::string>{problem(dst("t/a/b")), problem(dst("t/a")),
                                                    problem(dst("t"))}));
    for (const auto& message : ui.messages) {
        EXPECT_EQ(message.form, MessageForm::Information);
        EXPECT_EQ(message.caption, "Information");
    }
    EXPECT_EQ(tmp.readFile("dst/t/a/b/ro.txt"), "r");
    EXPECT_FALSE(fs::exists(dst("t/a/b/rw.txt")));
    EXPECT_FALSE(fs::exists(dst("t/a/c")));
    EXPECT_FALSE(fs::exists(dst("t/z")));
}

TEST_F(DeleteDirectoryTest, LinksInsideTheTreeGoButNeverWhatTheyPointTo)
{
    tmp.writeFile("outside/precious.txt", "p");
    const std::string outsideFile = tmp.writeFile("outside.txt", "o");
    tmp.makeDir("dst/t/sub");
    ASSERT_EQ(symlink(tmp.pathOf("outside").c_str(), dst("t/dirlink").c_str()), 0);
    ASSERT_EQ(symlink(outsideFile.c_str(), dst("t/sub/filelink").c_str()), 0);
    ASSERT_EQ(symlink(tmp.pathOf("nowhere").c_str(), dst("t/dangling").c_str()), 0);
    // A link to the tree's own parent would make a loop if it were followed.
    ASSERT_EQ(symlink(dst().c_str(), dst("t/sub/up").c_str()), 0);
    ASSERT_EQ(mkfifo(dst("t/fifo").c_str(), 0644), 0);
    tmp.writeFile("dst/sibling.txt", "s");
    ASSERT_TRUE(deleteDirectory(dst("t"), true));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(fs::exists(fs::symlink_status(dst("t"))));
    EXPECT_EQ(tmp.readFile("outside/precious.txt"), "p");
    EXPECT_EQ(tmp.readFile("outside.txt"), "o");
    EXPECT_EQ(tmp.readFile("dst/sibling.txt"), "s");
}

TEST_F(DeleteDirectoryTest, DirectoryReachedThroughALinkLosesOnlyTheLink)
{
    tmp.writeFile("real/inner/data.txt", "d");
    ASSERT_EQ(symlink(tmp.pathOf("real").c_str(), dst("viaLink").c_str()), 0);
    ASSERT_TRUE(deleteDirectory(dst("viaLink"), true));
    EXPECT_FALSE(fs::exists(fs::symlink_status(dst("viaLink"))));
    EXPECT_EQ(tmp.readFile("real/inner/data.txt"), "d");
}

TEST_F(DeleteDirectoryTest, ViewInsideTheDeletedTreeMovesUpToWhatIsLeft)
{
    tmp.writeFile("dst/t/a/b/c/f.txt", "f");
    chmod(tmp.writeFile("dst/t/keep.txt", "k").c_str(), 0444);
    app->Main.DestDirListBox.setDirectory(dst("t/a/b"));
    ASSERT_TRUE(deleteDirectory(dst("t/a"), true));
    EXPECT_TRUE(errors().empty());
    EXPECT_EQ(app->Main.DestDirListBox.directory(), dst("t"));

    // Deleting t itself fails because of keep.txt, so the view stays in t.
    ui.restart();
    app->Main.DestDirListBox.setDirectory(dst("t"));
    ASSERT_TRUE(deleteDirectory(dst("t"), true));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{problem(dst("t"))});
    EXPECT_EQ(app->Main.DestDirListBox.directory(), dst());
}

TEST_F(DeleteDirectoryTest, RootIsRefused)
{
    tmp.writeFile("src/a.txt", "a");
    EXPECT_FALSE(deleteDirectory("/", true));
    EXPECT_EQ(errors(), std::vector<std::string>{"Cannot delete a root directory."});
    EXPECT_FALSE(app->Delete.visible());
    EXPECT_EQ(tmp.readFile("src/a.txt"), "a");
    EXPECT_EQ(app->Main.SourceDirListBox.directory(), src());
    EXPECT_EQ(app->Main.DestDirListBox.directory(), dst());
    EXPECT_EQ(ui.busyDepth, 0);
}

TEST_F(DeleteDirectoryTest, MissingOrRelativePathDeletesNothing)
{
    tmp.writeFile("src/a.txt", "a");
    showSource();
    EXPECT_FALSE(deleteDirectory(src("missing"), true));
    EXPECT_FALSE(app->Delete.visible());
    EXPECT_FALSE(deleteDirectory(src("missing"), false));
    // A relative path would be taken against a current directory the user never sees.
    EXPECT_FALSE(deleteDirectory("src", true));
    // The system's text names no path: the report adds the one it is about.
    const std::string missing = "File not found.\n" + src("missing");
    EXPECT_EQ(errors(), (std::vector<std::string>{missing, missing, "Invalid filename."}));
    EXPECT_FALSE(app->Delete.visible());
    EXPECT_EQ(tmp.readFile("src/a.txt"), "a");
    EXPECT_EQ(app->Main.SourceDirListBox.directory(), src());
}

TEST_F(DeleteDirectoryTest, CancelDeletesNothing)
{
    tmp.writeFile("src/a.txt", "a");
    app->Main.DeleteDirectorySDClick();
    app->Delete.BitBtn1Click();
    EXPECT_FALSE(app->Delete.visible());
    EXPECT_EQ(tmp.readFile("src/a.txt"), "a");
}

} // namespace
} // namespace twinfold::test
