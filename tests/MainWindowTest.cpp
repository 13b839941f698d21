// The main window: start-up, activation, Swap, drive boxes, dialog commands and the exit path.
#include "support/StartedApp.h"

#include "platform/FileSystem.h"
#include "platform/IniFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

namespace twinfold::test
{
namespace
{

using MainWindowStart = StartedAppFixture;

TEST_F(MainWindowStart, FirstStartWritesExactlyTheFiveKeysAndChoosesNoType)
{
    tmp.writeFile("work/a.txt", "a");
    tmp.writeFile("work/b.xls", "b");
    start();

    EXPECT_EQ(settingsText(), "[Settings]\nSourceDir=" + work() + "\nDestDir=" + work() +
                                  "\nSyncAll=0\nSelectAll=0\nSaveSettings=1\n");
    EXPECT_EQ(currentDirectory(), config());
    EXPECT_EQ(main().EditFilter.itemIndex(), -1);
    EXPECT_TRUE(main().SaveSettingsonExit);
    EXPECT_EQ(main().HelpFile, config("tfoldw.HLP"));
    EXPECT_EQ(app->Settings.BatchDir, config("tfoldw.tfw"));
    ASSERT_TRUE(activate());
    EXPECT_EQ(listed(), (std::vector<std::string>{"a.txt", "b.xls"}));
    EXPECT_TRUE(ui.messages.empty());

    ASSERT_TRUE(run([this] { main().SaveDefaultSettings1Click(); }));
    EXPECT_EQ(IniFile::readString(settingsFile(), "Options", "Filetype", "none"), "0");
}

TEST_F(MainWindowStart, SettingsDialogsAreSetUpInTheConfigurationDirectory)
{
    start();
    const FileDialogOptions& open = main().OpenDialog;
    EXPECT_EQ(open.filter, "All Files (*.*)|*.*|INI Files (*.ini)|*.ini|Text Files (*.txt)|*.txt");
    EXPECT_EQ(open.filterIndex, 2);
    EXPECT_EQ(open.defaultExtension, "ini");
    EXPECT_EQ(open.fileName, "tfoldw.ini");
    EXPECT_EQ(open.initialDirectory, config() + "/");
    EXPECT_TRUE(open.fileMustExist);
    EXPECT_TRUE(open.pathMustExist);
    const FileDialogOptions& save = main().SaveAs;
    EXPECT_EQ(save.filter, "All Files (*.*)|*.*|Ini Files (*.ini)|*.ini|Text Files (*.txt)|*.txt");
    EXPECT_EQ(save.filterIndex, 2);
    EXPECT_EQ(save.fileName, "tfoldw.ini");
    EXPECT_EQ(save.initialDirectory, config() + "/");
    EXPECT_TRUE(save.confirmOverwrite);
    EXPECT_FALSE(save.fileMustExist);
}

TEST_F(MainWindowStart, SavedTypeIsAppliedOnlyWhenTheWindowBecomesActive)
{
    tmp.writeFile("src/book.xls", "x");
    tmp.writeFile("src/notes.txt", "x");
    writeSettings("[Settings]\nSourceDir=" + src() + "\nDestDir=" + dst() +
                  "\n[Options]\nFiletype=2\n");
    start();
    EXPECT_EQ(main().SourceDirListBox.directory(), src());
    EXPECT_EQ(main().DestDirListBox.directory(), dst());
    EXPECT_EQ(main().EditFilter.text(), "Excel Files (*.xls)");
    EXPECT_EQ(listed(), (std::vector<std::string>{"book.xls", "notes.txt"}));

    ASSERT_TRUE(activate());
    EXPECT_EQ(listed(), std::vector<std::string>{"book.xls"});
}

TEST_F(MainWindowStart, SavedSelectAllSelectsEveryFileAtFirstActivationOnly)
{
    tmp.writeFile("src/a.txt", "a");
    tmp.writeFile("src/b.txt", "bb");
    writeSettings("[Settings]\nSourceDir=" + src() + "\nSelectAll=1\n[Options]\nFiletype=0\n");
    start();
    EXPECT_EQ(ui.polls, 0) << "the selection waits for the first activation";
    ASSERT_TRUE(activate());
    EXPECT_TRUE(main().cbSelectAll.checked());
    EXPECT_EQ(main().FileList.selectedCount(), 2);
    EXPECT_EQ(main().FileCount.text(), "Total Files Selected: 2");

    // A later activation in "All files" mode re-reads the list and so drops the selection.
    ASSERT_TRUE(activate());
    EXPECT_EQ(main().FileList.selectedCount(), 0);
    EXPECT_FALSE(main().cbSelectAll.checked());
}

TEST_F(MainWindowStart, SavedSelectAllInExcelModeSelectsTheListedFiles)
{
    tmp.writeFile("src/a.xls", "a");
    tmp.writeFile("src/b.txt", "b");
    writeSettings("[Settings]\nSourceDir=" + src() + "\nSelectAll=1\n[Options]\nFiletype=2\n");
    start();
    ASSERT_TRUE(activate());
    EXPECT_EQ(listed(), std::vector<std::string>{"a.xls"});
    EXPECT_TRUE(main().FileList.selected(0));
    EXPECT_TRUE(main().cbSelectAll.checked());
}

TEST_F(MainWindowStart, SavedSyncAllGreysSelectAllFiles)
{
    writeSettings("[Settings]\nSourceDir=" + src() + "\nSyncAll=1\n");
    start();
    EXPECT_TRUE(main().SyncAll.checked());
    EXPECT_FALSE(main().cbSelectAll.enabled());
}

TEST_F(MainWindowStart, VanishedSourceDirStopsTheLoadWithOneMessage)
{
    tmp.writeFile("work/here.txt", "x");
    writeSettings("[Settings]\nSourceDir=" + src("gone") + "\nDestDir=" + dst() +
                  "\nSaveSettings=0\nSyncAll=1\nSelectAll=1\nBatchDir=/elsewhere/b.tfw\n"
                  "[Options]\nFiletype=2\n");
    start();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].form, MessageForm::Error);
    // The designed first line, and the folder it is about.
    EXPECT_EQ(ui.messages[0].text, "File not found.\n" + src("gone"));
    EXPECT_EQ(main().SourceDirListBox.directory(), work());
    EXPECT_EQ(main().DestDirListBox.directory(), work());
    EXPECT_TRUE(main().SaveSettingsonExit);
    EXPECT_FALSE(main().SyncAll.checked());
    EXPECT_FALSE(main().cbSelectAll.checked());
    EXPECT_EQ(main().EditFilter.itemIndex(), -1);
    EXPECT_EQ(app->Settings.BatchDir, config("tfoldw.tfw"));
    ASSERT_TRUE(activate());
    EXPECT_EQ(listed(), std::vector<std::string>{"here.txt"});

    ASSERT_TRUE(run([this] { main().Exit1Click(); }));
    EXPECT_TRUE(main().isClosed());
    const std::string file = settingsFile();
    EXPECT_EQ(IniFile::readString(file, "Settings", "SourceDir", ""), work());
    EXPECT_EQ(IniFile::readString(file, "Settings", "DestDir", ""), work());
    EXPECT_EQ(IniFile::readString(file, "Settings", "SaveSettings", ""), "1");
    EXPECT_EQ(IniFile::readString(file, "Settings", "BatchDir", ""), config("tfoldw.tfw"));
    EXPECT_EQ(IniFile::readString(file, "Settings", "SyncAll", ""), "0");
    EXPECT_EQ(IniFile::readString(file, "Settings", "SelectAll", ""), "0");
    EXPECT_EQ(IniFile::readString(file, "Options", "AutoContinue", ""), "0");
    EXPECT_EQ(IniFile::readString(file, "Options", "Exclude", "none"), "");
    EXPECT_EQ(IniFile::readString(file, "Options", "Include", "none"), "");
    EXPECT_EQ(IniFile::readString(file, "Options", "CopyBuffer", ""), "32768");
    EXPECT_EQ(IniFile::readString(file, "Options", "Filetype", ""), "0");
}

TEST_F(MainWindowStart, SourceDirThatIsAFileStopsTheLoadLikeAMissingOne)
{
    const std::string file = tmp.writeFile("src/plain", "x");
    writeSettings("[Settings]\nSourceDir=" + file + "\nSyncAll=1\n");
    start();
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Invalid filename.\n" + file});
    EXPECT_EQ(main().SourceDirListBox.directory(), work());
    EXPECT_FALSE(main().SyncAll.checked());
}

TEST_F(MainWindowStart, VanishedDestDirKeepsTheSourceAlreadySet)
{
    writeSettings("[Settings]\nSourceDir=" + src() + "\nDestDir=" + dst("gone") + "\nSyncAll=1\n");
    start();
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"File not found.\n" + dst("gone")});
    EXPECT_EQ(main().SourceDirListBox.directory(), src());
    EXPECT_EQ(main().DestDirListBox.directory(), work());
    EXPECT_FALSE(main().SyncAll.checked());
}

// ---- Activation ----

class MainWindowActive : public StartedAppFixture
{
protected:
    void SetUp() override
    {
        tmp.writeFile("src/a.xls", "a");
        tmp.writeFile("src/b.xls", "b");
        tmp.writeFile("src/c.txt", "c");
        writeSettings("[Settings]\nSourceDir=" + src() + "\nDestDir=" + dst() + "\n");
        start();
        ASSERT_TRUE(activate());
        activateAfterModals();
    }

    void chooseType(int index)
    {
        main().EditFilter.setItemIndex(index);
        main().EditFilterChange();
    }
    void selectFirstTwo()
    {
        main().FileList.setSelected(0, true);
        main().FileList.setSelected(1, true);
        main().FileListClick();
    }
};

TEST_F(MainWindowActive, ClosingAnyModalWindowClearsTheSelectionInAllFilesMode)
{
    for (const auto& command :
         {&TMain::Options1Click, &TMain::LogFile1Click, &TMain::About1Click}) {
        selectFirstTwo();
        ASSERT_TRUE(run([this, command] { (main().*command)(); }));
        EXPECT_EQ(main().FileList.selectedCount(), 0);
    }
    EXPECT_EQ(ui.modalWindows, (std::vector<std::string>{"TOptionsbx", "TLogFilebx", "TAboutBox"}));
    EXPECT_TRUE(app->Optionsbx.visible());
    EXPECT_TRUE(app->LogFilebx.visible());
    EXPECT_TRUE(app->AboutBox.visible());

    selectFirstTwo();
    app->services().showMessage("any message");
    EXPECT_EQ(main().FileList.selectedCount(), 0);
}

TEST_F(MainWindowActive, ClosingAModalWindowKeepsTheSelectionInExcelMode)
{
    chooseType(2);
    ASSERT_EQ(listed(), (std::vector<std::string>{"a.xls", "b.xls"}));
    selectFirstTwo();
    ASSERT_TRUE(run([this] { main().Options1Click(); }));
    EXPECT_EQ(main().FileList.selectedCount(), 2);
}

TEST_F(MainWindowActive, ActivationDuringARunLeavesTheListAlone)
{
    // b.xls cannot be replaced: its failure message closes in the middle of the run.
    tmp.writeFile("dst/b.xls", "old", 946684800); // 2000-01-01
    ASSERT_EQ(::chmod(dst("b.xls").c_str(), 0444), 0);
    for (int i = 0; i < main().FileList.count(); ++i)
        main().FileList.setSelected(i, true);

    ASSERT_TRUE(run([this] { main().SyncBtnClick(); }));

    ASSERT_GE(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text.rfind("Could not create destination file: ", 0), 0u);
    EXPECT_EQ(ui.messages.back().text, "File Sync Successful!");
    EXPECT_EQ(tmp.readFile("dst/a.xls"), "a");
    EXPECT_EQ(tmp.readFile("dst/c.txt"), "c") << "the file after the failure was dropped";
    EXPECT_EQ(app->LogFilebx.FileFailed, std::vector<std::string>{src("b.xls")});
}

TEST_F(MainWindowActive, VanishedSourceDirectoryIsReportedOnceAndEmptiesTheList)
{
    tmp.makeDir("src/sub");
    tmp.writeFile("src/sub/x.txt", "x");
    main().SourceDirListBox.setDirectory(src("sub"));
    ASSERT_EQ(listed(), std::vector<std::string>{"x.txt"});
    std::filesystem::remove_all(src("sub"));

    EXPECT_TRUE(activate());
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"File not found.\n" + src("sub")});
    EXPECT_TRUE(listed().empty());
    EXPECT_EQ(main().selsize.text(), "Selected Size: 0 Bytes");
    EXPECT_TRUE(activate());
    EXPECT_EQ(ui.messages.size(), 1u);

    // Once the directory is back the next failure is news again.
    tmp.writeFile("src/sub/y.txt", "y");
    EXPECT_TRUE(activate());
    EXPECT_EQ(listed(), std::vector<std::string>{"y.txt"});
}

TEST_F(MainWindowActive, SwapExchangesTheDirectoriesOnly)
{
    tmp.writeFile("dst/d.doc", "d");
    chooseType(2);
    main().SyncAll.setChecked(true);
    selectFirstTwo();
    ASSERT_TRUE(run([this] { main().SwapbtnClick(); }));
    EXPECT_EQ(main().SourceDirListBox.directory(), dst());
    EXPECT_EQ(main().DestDirListBox.directory(), src());
    EXPECT_EQ(main().SourceLabel.text(), dst());
    EXPECT_EQ(main().DestLabel.text(), src());
    EXPECT_TRUE(listed().empty()) << "the Excel type stays";
    EXPECT_EQ(main().EditFilter.itemIndex(), 2);
    EXPECT_TRUE(main().SyncAll.checked());

    chooseType(0);
    EXPECT_EQ(listed(), std::vector<std::string>{"d.doc"});
    EXPECT_EQ(main().FileList.selectedCount(), 0);
}

TEST_F(MainWindowActive, SwapWithAVanishedDirectoryChangesNeither)
{
    tmp.makeDir("dst/sub");
    main().DestDirListBox.setDirectory(dst("sub"));
    std::filesystem::remove(dst("sub"));
    EXPECT_FALSE(run([this] { main().SwapbtnClick(); }));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"File not found.\n" + dst("sub")});
    EXPECT_EQ(main().SourceDirListBox.directory(), src());
    EXPECT_EQ(main().DestDirListBox.directory(), dst("sub"));
}

TEST_F(MainWindowActive, DriveBoxesFollowTheViewsAndMoveThem)
{
    const std::vector<std::string> drives = listDrives();
    ASSERT_EQ(main().DriveComboBox1.items(), drives);
    ASSERT_EQ(main().DriveComboBox2.items(), drives);
    EXPECT_EQ(main().DriveComboBox1.text(), driveOf(src()));
    EXPECT_EQ(main().DriveComboBox2.text(), driveOf(dst()));

    // Choosing the drive the view is on keeps the view where it is.
    ASSERT_TRUE(run([this] { main().DriveComboBox1Change(); }));
    EXPECT_EQ(main().SourceDirListBox.directory(), src());

    const auto other = std::find_if(drives.begin(), drives.end(), [this](const std::string& d) {
        return d != driveOf(src()) && fileGetAttr(d) >= 0 && (fileGetAttr(d) & faDirectory) != 0 &&
               ::access(d.c_str(), R_OK | X_OK) == 0;
    });
    if (other == drives.end())
        GTEST_SKIP() << "only one file system can be entered";
    main().DriveComboBox2.setItemIndex(static_cast<int>(other - drives.begin()));
    ASSERT_TRUE(run([this] { main().DriveComboBox2Change(); }));
    EXPECT_EQ(main().DestDirListBox.directory(), *other);
    EXPECT_EQ(main().DestLabel.text(), *other);
    main().DestDirListBox.setDirectory(dst());
    EXPECT_EQ(main().DriveComboBox2.text(), driveOf(dst()));
}

TEST_F(MainWindowActive, HelpCommandsAskTheHelpViewer)
{
    EXPECT_TRUE(main().invoke("Contents1Click"));
    EXPECT_TRUE(main().invoke("HelpTopic1"));
    EXPECT_EQ(ui.helpRequests, (std::vector<int>{0, 1}));
    EXPECT_FALSE(main().invoke("NoSuchHandler"));
}

TEST_F(MainWindowActive, CommandTableRowsAreDispatchedByName)
{
    const auto& table = TMain::commandTable();
    const auto row = [&table](Where where, const std::string& caption) {
        return std::find_if(table.begin(), table.end(), [&](const MainCommand& c) {
            return c.where == where && c.caption == caption;
        });
    };
    ASSERT_NE(row(Where::FileMenu, "&Sync"), table.end());
    EXPECT_EQ(row(Where::FileMenu, "&Sync")->shortcut, "Ctrl+S");
    EXPECT_EQ(row(Where::FileMenu, "E&xit")->shortcut, "Ctrl+X");
    EXPECT_EQ(row(Where::EditMenu, "&Delete")->shortcut, "Del");
    EXPECT_EQ(row(Where::EditMenu, "Select &All")->shortcut, "Ctrl+A");
    EXPECT_EQ(row(Where::FileListPopup, "UnSelect All")->handler, "Cancel1Click");
    EXPECT_EQ(row(Where::Button, "<< Swap >>")->handler, "SwapbtnClick");
    EXPECT_EQ(row(Where::FileMenu, "&Preview")->shortcut, "F5");
    EXPECT_EQ(row(Where::FileListPopup, "Preview")->handler, "Preview1Click");
    EXPECT_EQ(std::count_if(table.begin(), table.end(),
                            [](const MainCommand& c) { return c.where < Where::Key; }),
              29);

    ASSERT_TRUE(main().invoke(row(Where::Button, "<< Swap >>")->handler));
    EXPECT_EQ(main().SourceDirListBox.directory(), dst());
}

// ---- Exit ----

TEST_F(MainWindowActive, CloseBoxRunsTheExitStepsExactlyOnce)
{
    main().SyncAll.setChecked(true);
    ASSERT_TRUE(run([this] { main().FormClose(); }));
    EXPECT_TRUE(main().closing);
    EXPECT_TRUE(main().isClosed());
    EXPECT_EQ(ui.helpCloses, 1);
    EXPECT_EQ(IniFile::readString(settingsFile(), "Settings", "SyncAll", ""), "1");
    EXPECT_EQ(IniFile::readString(settingsFile(), "Options", "Filetype", ""), "0");

    // Nothing runs a second time: the file removed now stays removed.
    std::filesystem::remove(settingsFile());
    ASSERT_TRUE(run([this] { main().FormClose(); }));
    ASSERT_TRUE(run([this] { main().Exit1Click(); }));
    EXPECT_FALSE(std::filesystem::exists(settingsFile()));
    EXPECT_EQ(ui.helpCloses, 1);
}

TEST_F(MainWindowActive, ExitWithoutTheTickSavesNothing)
{
    ASSERT_TRUE(run([this] { main().SaveSettingsonExitClick(); }));
    const std::string before = settingsText();
    main().SyncAll.setChecked(true);
    ASSERT_TRUE(run([this] { main().Exit1Click(); }));
    EXPECT_TRUE(main().isClosed());
    EXPECT_EQ(settingsText(), before);
}

TEST_F(MainWindowActive, UnwritableSettingsKeepTheProgramOpen)
{
    ASSERT_EQ(::chmod(settingsFile().c_str(), 0444), 0);
    const std::string before = settingsText();
    EXPECT_FALSE(run([this] { main().FormClose(); }));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Unable to write to " + settingsFile() + "."});
    EXPECT_FALSE(main().closing);
    EXPECT_FALSE(main().isClosed());
    EXPECT_EQ(ui.helpCloses, 0);
    EXPECT_EQ(settingsText(), before);

    // Unticking fails to store too, but the tick goes, and then the exit saves nothing.
    EXPECT_FALSE(run([this] { main().SaveSettingsonExitClick(); }));
    EXPECT_FALSE(main().SaveSettingsonExit);
    EXPECT_TRUE(run([this] { main().Exit1Click(); }));
    EXPECT_TRUE(main().isClosed());
}

TEST_F(MainWindowStart, CommandLineBatchRunsAtFirstActivationAndCloses)
{
    tmp.writeFile("config/empty.tfw", "");
    start(config("empty.tfw"));
    EXPECT_FALSE(main().isClosed());
    ASSERT_TRUE(activate());
    EXPECT_TRUE(main().isClosed());
    EXPECT_EQ(ui.helpCloses, 1);
    EXPECT_EQ(IniFile::readString(settingsFile(), "Options", "Filetype", ""), "0");
}

} // namespace
} // namespace twinfold::test
