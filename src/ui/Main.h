#pragma once

#include "batch/BatchRun.h"
#include "batch/BatchWindow.h"
#include "controls/Controls.h"
#include "controls/DirectoryView.h"
#include "controls/FileListBox.h"
#include "engine/RunWindow.h"
#include "engine/SyncRun.h"
#include "platform/Window.h"
#include "platform/Windowing.h"
#include "settings/Options.h"
#include "ui/FileOperations.h"
#include "ui/FileSelection.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace twinfold
{

class TBatchDlg;
class TMain;
class TDelete;
class TLogFilebx;
class TPreview;
class TSyncBox;
struct SyncSettings;

// The other windows the main window opens or works with.
struct MainWindows {
    TSyncBox& SyncBox;
    TLogFilebx& LogFilebx;
    TOptionsbx& Optionsbx;
    Window& AboutBox;
    TBatchDlg& BatchDlg;
    TDelete& Delete;
    TPreview& Preview;
};

// The file-type choices of EditFilter, in their order.
inline constexpr const char* FileTypeAll = "All files (*.*)";
inline constexpr const char* FileTypeCustom = "Custom - Use Include/Exclude lists";
inline constexpr const char* FileTypeExcel = "Excel Files (*.xls)";
inline constexpr const char* FileTypeLotus = "Lotus Files (*.wk*)";
inline constexpr const char* FileTypeDocuments = "Documents (*.doc)";

inline constexpr const char* DefaultSettingsName = "tfoldw.ini";
inline constexpr const char* DefaultBatchName = "tfoldw.tfw";

// Where a command of the main window sits.
enum class Where {
    FileMenu,
    EditMenu,
    BatchMenu,
    MenuBar, // an item of the menu bar itself, between the Batch and Help menus
    HelpMenu,
    FileListPopup,   // PopupMenuFL
    SourceViewPopup, // PopupMenuSD
    DestViewPopup,   // PopupMenuDD
    Button,
    Key,   // a key of the window, shown nowhere
    Event, // an event of a control, forwarded by the front end's binding of that control
};

// One entry of the main window's command table: where the command sits, its caption and
// shortcut, and the handler it runs. Front ends build their menus and buttons from it, and
// find each command's control by its place and handler.
struct MainCommand {
    Where where;
    std::string caption;  // "&Sync"
    std::string shortcut; // "Ctrl+S", "Del", or empty
    std::string handler;  // "SyncBtnClick"
    void (TMain::*run)();
    bool separatorBefore = false;
    // A menu item with a tick mark shows this flag of the window.
    const bool TMain::*mark = nullptr;
};

// The main window: the job's inputs (the two directory views, the source file list, the
// file-type choice, the two check boxes) and every command that acts on them.
class TMain : public Window, public RunWindow, public BatchWindow, public OptionsOwner
{
public:
    TMain(WindowingServices& services, SyncSettings& settings, DirectoryCache& cache,
          MainWindows windows);
    TMain(const TMain&) = delete;
    TMain& operator=(const TMain&) = delete;

    // Controls.
    Label SourceLabel;
    DirectoryView SourceDirListBox;
    FileListBox FileList;
    Label DestLabel;
    DirectoryView DestDirListBox;
    ComboBox EditFilter;
    ComboBox DriveComboBox1; // the source view's drive
    ComboBox DriveComboBox2; // the destination view's drive
    // Choosing a drive in a drive box (its item index set by the front end) moves the view to
    // that mount point; a drive that cannot be entered is reported and the box follows the view.
    void DriveComboBox1Change();
    void DriveComboBox2Change();
    CheckBox cbSelectAll{"Select All files"};
    CheckBox SyncAll{"Sync All Subdirectories"};
    Label selsize;
    Label FileCount;
    FileListBox ExcludeFiles; // hidden: the source directory's files that match the exclude masks
    // The check mark of the File menu's "Save Settings on Exit"; setting it runs nothing.
    bool SaveSettingsonExit = true;

    FileDialogOptions OpenDialog; // "Load Settings..."
    FileDialogOptions SaveAs;     // "Save Settings As..."

    bool BatchMode = false;
    std::string SourceRoot;

    // Not part of the window: a dry run applies the newer-than rule and logs what would be
    // copied as copied, but changes nothing on disk.
    bool dryRun = false;
    // Not part of the window either: a directory that cannot be entered or made is passed over.
    bool keepGoing = false;
    // Not part of the window: a time shift given for every run, over each job's own setting.
    std::optional<std::int32_t> timeShiftForAll;
    // Not part of the window: the lookups in flight given for every run, over each job's own.
    std::optional<std::int32_t> jobsForAll;

    static const std::vector<MainCommand>& commandTable();
    // The row of a command at its place; throws std::logic_error when the table has none.
    static const MainCommand& command(Where where, void (TMain::*run)());
    // Runs a command of the table by its handler's name; false for an unknown name.
    bool invoke(const std::string& handler);

    // Start-up, activation and exit.
    void FormCreate();
    void FormShow();
    void FormActivate();
    void FormClose();
    void Exit1Click();
    void SwapbtnClick();
    void Contents1Click();
    void HelpTopic1(); // F1
    void LogFile1Click();
    void Options1Click();
    void About1Click();

    // Settings files.
    void LoadSettingsClick();
    void LoadSettingsFile(const std::string& path);
    void SaveDefaultSettings1Click();
    void SaveSettingsAs1Click();
    void SaveSettingsonExitClick();

    // The Sync command and the engine under it.
    void SyncBtnClick();
    // What the Sync would do now, shown in the preview window without copying anything; the
    // user may start the Sync from there.
    void Preview1Click();
    void SyncAllFiles(DirectoryView& view);
    void Traverse(DirectoryView& view);

    // File list, selection and the file-type filter.
    void EditFilterChange();
    void FileListChange();
    void FilterFileList();
    void FileListClick();
    void SelectAll();
    void SelectAll1Click();
    void cbSelectAllClick();
    void Cancel1Click();
    void SyncAllClick();

    // Batch files.
    void BatchFileEditor1Click();
    void RunBatchFile1Click();
    void ExecuteBatch(const std::string& path);
    // Entries of the last batch run that were skipped as invalid.
    int batchSkipped() const { return m_batch.skipped(); }

    // File and directory operations.
    void Delete1Click();
    void Rename1Click();
    void MakeDirectorySDClick();
    void MakeDirectoryDDClick();
    void DeleteDirectorySDClick();
    void DeleteDirectoryDDClick();

    // The configuration directory, with a trailing separator: home of the default settings
    // file and the default batch file, and the starting directory of the settings dialogs.
    std::string programDirectory;
    std::string defaultSettingsFile() const override;
    std::string HelpFile = "Tfoldw.hlp";
    // A batch file given on the command line, run at the first activation.
    std::optional<std::string> commandLineBatch;
    // Set by the exit steps; the window is then closed and the program ends.
    bool closing = false;
    bool isClosed() const { return m_closed; }

    // True while a run is in progress: the main window's commands are kept out until it ends.
    bool runInProgress() const;

private:
    // Main window: drive boxes, activation and closing.
    void viewChanged(DirectoryView& view, Label& label, ComboBox& driveBox);
    void refreshDrives();
    void chooseDrive(ComboBox& driveBox, DirectoryView& view);
    void applyTypeChoiceOnActivation();
    void firstActivation();
    void closeWindow();

    // Settings files.
    void startupLoad();
    void saveSettingsTo(const std::string& path);
    std::string defaultBatchFile() const;

    // What the run, the batch run and the options dialog reach of the window.
    DirectoryView& sourceView() override { return SourceDirListBox; }
    FileListBox& sourceFiles() override { return FileList; }
    DirectoryView& destinationView() override { return DestDirListBox; }
    bool syncAllChecked() const override { return SyncAll.checked(); }
    RunChoices runChoices() const override;
    void setSourceRoot(const std::string& root) override { SourceRoot = root; }
    const std::string& sourceRoot() const override { return SourceRoot; }
    // Brings the drive boxes up to date with the views after a run, which does not on its way.
    void runEnded() override;
    ComboBox& fileTypeBox() override { return EditFilter; }
    CheckBox& syncAllBox() override { return SyncAll; }
    CheckBox& selectAllBox() override { return cbSelectAll; }
    void applyFileType() override { EditFilterChange(); }
    void showCopyBufferSize(std::int32_t size) override;
    void sync() override { SyncBtnClick(); }
    void setBatchMode(bool on) override { BatchMode = on; }
    void filterTextsChanged() override;

    WindowingServices& m_services;
    // The other windows, under the names they have in the program.
    MainWindows m_app;
    SyncSettings& m_settings;
    TSyncBox& m_syncBox;
    TLogFilebx& m_log;
    SyncRun m_run;
    BatchRun m_batch;
    FileSelection m_selection;
    FileOperations m_operations;
    // From the preview's dry run until its window closes: the run's choices are a preview's,
    // and nothing re-reads the list whose selection the Sync started from there works on.
    bool m_previewing = false;
    bool m_activated = false;
    bool m_closed = false;
    // The start-up load's SelectAll: the selection it asks for is made at the first activation.
    bool m_startSelectAll = false;
    // The failure the last activation reported; an activation that meets it again stays quiet,
    // or the error box's own closing (which activates the window) would report it for ever.
    std::string m_activationFailure;
};

} // namespace twinfold
