// Sync All Subdirectories: the walk, the directory passes and cancelling.
#include "support/AppFixture.h"

#include "platform/FileHandle.h"
#include "platform/FileSystem.h"

#include <sys/stat.h>
#include <unistd.h>

namespace twinfold::test
{
namespace
{

class SyncAllTest : public AppFixture
{
protected:
    void syncAll()
    {
        showSource();
        app->Main.SyncAll.setChecked(true);
        ASSERT_TRUE(sync());
    }
    // The directories whose passes ran, in order, as the progress window showed them.
    std::vector<std::string> passes;
    Connection statuses;
    void recordPasses()
    {
        statuses =
            app->SyncBox.fileStatus.connect([this](const std::string&, const std::string& path) {
                const std::string dir = path.substr(0, path.rfind('/'));
                if (passes.empty() || passes.back() != dir)
                    passes.push_back(dir);
            });
    }
};

TEST_F(SyncAllTest, WalksPostOrderInCaseInsensitiveNameOrder)
{
    tmp.writeFile("src/top.txt", "t");
    tmp.writeFile("src/gamma/g.txt", "g");
    tmp.writeFile("src/alpha/a.txt", "a");
    tmp.writeFile("src/alpha/x/deep.txt", "d");
    tmp.writeFile("src/Beta/b.txt", "b");
    recordPasses();
    syncAll();
    EXPECT_EQ(passes, (std::vector<std::string>{src("alpha/x"), src("alpha"), src("Beta"),
                                                src("gamma"), src()}));
    EXPECT_EQ(tmp.readFile("dst/alpha/x/deep.txt"), "d");
    EXPECT_EQ(tmp.readFile("dst/Beta/b.txt"), "b");
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Directory Sync Successful!"});
    // Both views are back where the run started.
    EXPECT_EQ(app->Main.SourceDirListBox.directory(), src());
    EXPECT_EQ(app->Main.DestDirListBox.directory(), dst());
    EXPECT_FALSE(app->SyncBox.visible());
}

TEST_F(SyncAllTest, MirrorsEmptyAndHiddenDirectories)
{
    tmp.makeDir("src/empty/inner");
    tmp.writeFile("src/.hidden/h.txt", "h");
    syncAll();
    EXPECT_TRUE(directoryExists(dst("empty/inner")));
    EXPECT_EQ(tmp.readFile("dst/.hidden/h.txt"), "h");
    // The last pass, over a directory without files, shows a gauge of 0.
    EXPECT_EQ(app->SyncBox.Gauge.maxValue(), 0);
    EXPECT_EQ(app->SyncBox.Gauge.percentDone(), 0);
}

TEST_F(SyncAllTest, EmptySourceMakesAMissingDestination)
{
    tmp.makeDir("gone");
    showSource();
    app->Main.DestDirListBox.setDirectory(tmp.pathOf("gone"));
    ASSERT_EQ(::rmdir(tmp.pathOf("gone").c_str()), 0);
    app->Main.SyncAll.setChecked(true);
    ASSERT_TRUE(sync());
    EXPECT_TRUE(directoryExists(tmp.pathOf("gone")));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Directory Sync Successful!"});
}

TEST_F(SyncAllTest, NeverEntersLinksToDirectoriesOrOpensSpecialFiles)
{
    tmp.writeFile("outside/secret.txt", "s");
    tmp.writeFile("src/real/r.txt", "r");
    ASSERT_EQ(::symlink(tmp.pathOf("outside").c_str(), src("link").c_str()), 0);
    ASSERT_EQ(::symlink(src().c_str(), src("real/loop").c_str()), 0);
    ASSERT_EQ(::mkfifo(src("pipe").c_str(), 0644), 0);
    tmp.writeFile("target.txt", "via link");
    ASSERT_EQ(::symlink(tmp.pathOf("target.txt").c_str(), src("filelink.txt").c_str()), 0);
    syncAll();
    EXPECT_FALSE(fileExists(dst("link/secret.txt")));
    EXPECT_FALSE(statusOf(dst("pipe"), false).has_value());
    EXPECT_EQ(tmp.readFile("dst/real/r.txt"), "r");
    // A link to a file is copied as the file it points to.
    EXPECT_EQ(tmp.readFile("dst/filelink.txt"), "via link");
    EXPECT_FALSE(statusOf(dst("filelink.txt"), false)->symlink);
}

TEST_F(SyncAllTest, QuestionWhenFilesAreSelected)
{
    tmp.writeFile("src/a.txt", "a");
    showSource();
    app->Main.SyncAll.setChecked(true);
    selectAll();
    ui.answer(Answer::No);
    ASSERT_TRUE(sync());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].form, MessageForm::Warning);
    EXPECT_EQ(ui.messages[0].caption, "Warning");
    EXPECT_EQ(ui.messages[0].text, "You have files selected and Sync All is checked. All files "
                                   "will be copied...Do you wish to continue?");
    EXPECT_FALSE(fileExists(dst("a.txt")));
    EXPECT_TRUE(app->LogFilebx.FileSuccess.empty());

    ui.answer(Answer::Yes);
    ASSERT_TRUE(sync());
    EXPECT_TRUE(fileExists(dst("a.txt")));
}

TEST_F(SyncAllTest, FileInTheWayOfAMirroredDirectoryAbandonsTheRun)
{
    tmp.writeFile("src/sub/s.txt", "s");
    tmp.writeFile("src/top.txt", "t");
    tmp.writeFile("dst/sub", "a file, not a directory");
    showSource();
    app->Main.SyncAll.setChecked(true);
    EXPECT_FALSE(sync());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].form, MessageForm::Error);
    EXPECT_EQ(ui.messages[0].text, "Invalid filename.\n" + dst("sub"));
    EXPECT_EQ(tmp.readFile("dst/sub"), "a file, not a directory");
    EXPECT_FALSE(fileExists(dst("s.txt")));
    EXPECT_FALSE(fileExists(dst("top.txt")));
    EXPECT_FALSE(app->SyncBox.visible());
    EXPECT_FALSE(app->Main.runInProgress());
    EXPECT_EQ(app->Main.SourceDirListBox.directory(), src());
    EXPECT_EQ(app->Main.DestDirListBox.directory(), dst());
}

TEST_F(SyncAllTest, DestinationInsideTheSourceIsWalkedAndTerminates)
{
    tmp.writeFile("src/a.txt", "a");
    tmp.makeDir("src/back");
    showSource();
    app->Main.DestDirListBox.setDirectory(src("back"));
    app->Main.SyncAll.setChecked(true);
    ASSERT_TRUE(sync());
    ASSERT_TRUE(sync());
    EXPECT_EQ(tmp.readFile("src/back/a.txt"), "a");
    EXPECT_TRUE(directoryExists(src("back/back")));
}

TEST_F(SyncAllTest, SourceRootIsTheBaseOfTheMirror)
{
    tmp.writeFile("src/sub/deeper/f.txt", "f");
    showSource("sub");
    app->Main.SyncAll.setChecked(true);
    ASSERT_TRUE(sync());
    EXPECT_EQ(app->Main.SourceRoot, src("sub"));
    EXPECT_EQ(tmp.readFile("dst/deeper/f.txt"), "f");
}

TEST_F(SyncAllTest, HighlightedEntryDoesNotChangeWhatIsSynchronised)
{
    tmp.writeFile("src/a/one.txt", "1");
    tmp.writeFile("src/b/two.txt", "2");
    showSource();
    auto& view = app->Main.SourceDirListBox;
    view.setItemIndex(view.directoryPosition() - 1); // the parent, highlighted only
    app->Main.SyncAll.setChecked(true);
    ASSERT_TRUE(sync());
    EXPECT_TRUE(fileExists(dst("a/one.txt")));
    EXPECT_TRUE(fileExists(dst("b/two.txt")));
    EXPECT_FALSE(directoryExists(dst("src")));
}

TEST_F(SyncAllTest, CustomTypeFiltersEveryDirectoryOfTheTree)
{
    tmp.writeFile("src/keep.txt", "k");
    tmp.writeFile("src/skip.doc", "s");
    tmp.writeFile("src/sub/keep2.txt", "k");
    tmp.writeFile("src/sub/apple.txt", "excluded");
    app->Settings.Include = "*.txt;";
    app->Settings.Exclude = "a*;";
    showSource();
    app->Main.EditFilter.setItemIndex(1);
    app->Main.EditFilterChange();
    app->Main.SyncAll.setChecked(true);
    ASSERT_TRUE(sync());
    EXPECT_TRUE(fileExists(dst("keep.txt")));
    EXPECT_TRUE(fileExists(dst("sub/keep2.txt")));
    EXPECT_FALSE(fileExists(dst("skip.doc")));
    EXPECT_FALSE(fileExists(dst("sub/apple.txt")));
}

// A name that two masks list is one file: copied, then skipped, also into a directory that the
// run makes for it.
TEST_F(SyncAllTest, ANameListedTwiceIsCopiedOnceAlsoIntoAMadeDirectory)
{
    tmp.writeFile("src/made/a.txt", "a");
    tmp.writeFile("src/made/b.txt", "b");
    app->Settings.Include = "*.txt;a*;";
    app->Settings.Exclude = "";
    std::vector<std::string> labels;
    statuses =
        app->SyncBox.fileStatus.connect([&](const std::string& label, const std::string& path) {
            labels.push_back(label + " " + path);
        });
    showSource();
    app->Main.EditFilter.setItemIndex(1);
    app->Main.EditFilterChange();
    app->Main.SyncAll.setChecked(true);
    ASSERT_TRUE(sync());
    EXPECT_EQ(labels, (std::vector<std::string>{"Copying " + src("made/a.txt"),
                                                "Skipping " + src("made/a.txt"),
                                                "Copying " + src("made/b.txt")}));
    EXPECT_EQ(app->LogFilebx.FileSuccess,
              (std::vector<std::string>{src("made/a.txt"), src("made/b.txt")}));
    EXPECT_EQ(app->LogFilebx.FileOld, std::vector<std::string>{src("made/a.txt")});
}

} // namespace
} // namespace twinfold::test
