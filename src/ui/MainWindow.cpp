// The main window's life: creation, activation, the directory views' drive boxes, Swap, the
// help and dialog commands, and the exit path.
#include "engine/LogFile.h"
#include "platform/ErrorText.h"
#include "platform/FileSystem.h"
#include "platform/PathRules.h"
#include "platform/Windowing.h"
#include "settings/SyncSettings.h"
#include "ui/Main.h"

#include <exception>
#include <utility>

namespace twinfold
{

namespace
{

// The drive (mount point) that holds a directory: the longest mount point it lies in.
int driveIndexOf(const std::vector<std::string>& drives, const std::string& directory)
{
    int best = -1;
    std::size_t bestLength = 0;
    for (std::size_t i = 0; i < drives.size(); ++i) {
        if ((best < 0 || drives[i].size() > bestLength) && isSameOrBelow(directory, drives[i])) {
            best = static_cast<int>(i);
            bestLength = drives[i].size();
        }
    }
    return best;
}

void configureSettingsDialog(FileDialogOptions& dialog, const std::string& title,
                             const std::string& iniType, const std::string& directory)
{
    dialog.title = title;
    dialog.filter = "All Files (*.*)|*.*|" + iniType + " (*.ini)|*.ini|Text Files (*.txt)|*.txt";
    dialog.filterIndex = 2;
    dialog.defaultExtension = "ini";
    dialog.fileName = DefaultSettingsName;
    dialog.initialDirectory = directory;
}

} // namespace

void TMain::FormCreate()
{
    if (programDirectory.empty())
        programDirectory = currentDirectory();
    if (!endsWithSeparator(programDirectory))
        programDirectory += NativeSeparator;
    try {
        setCurrentDirectory(programDirectory);
    } catch (const std::exception& failure) {
        // The settings are reached by full paths; the program can do without this.
        m_services.errorReport(this, failure);
    }
    closing = false;

    configureSettingsDialog(OpenDialog, "Load Settings", "INI Files", programDirectory);
    OpenDialog.fileMustExist = true;
    OpenDialog.pathMustExist = true;
    configureSettingsDialog(SaveAs, "Save Settings As", "Ini Files", programDirectory);
    SaveAs.pathMustExist = true;
    SaveAs.confirmOverwrite = true;

    m_settings.BatchDir = defaultBatchFile();
    HelpFile = programDirectory + "tfoldw.HLP";
    startupLoad();
}

void TMain::FormShow()
{
    Show();
}

void TMain::FormActivate()
{
    // A run lets events through between files: a message box closing then (a failed copy, a
    // question) must not re-read the very list the run is working through.
    if (runInProgress())
        return;
    const bool first = !m_activated;
    m_activated = true;
    refreshDrives();
    applyTypeChoiceOnActivation();
    if (first)
        firstActivation();
}

void TMain::applyTypeChoiceOnActivation()
{
    try {
        EditFilterChange();
        m_activationFailure.clear();
    } catch (const std::exception& failure) {
        // The source directory can no longer be read (removed, or its access withdrawn): what
        // the list held is gone with it.
        FileList.clear();
        FileListClick();
        const std::string text = errorReportText(failure);
        if (text == m_activationFailure)
            return;
        m_activationFailure = text;
        m_services.errorReport(this, failure);
    }
}

void TMain::firstActivation()
{
    if (m_startSelectAll) {
        // The type choice just applied may have cleared the tick that the settings set.
        if (cbSelectAll.checked())
            SelectAll();
        else
            cbSelectAll.setChecked(true);
    }
    if (commandLineBatch) {
        // A failure escaping the batch run leaves the window open, so the user sees where
        // it stopped.
        ExecuteBatch(*commandLineBatch);
        closeWindow();
    }
}

void TMain::Exit1Click()
{
    if (closing)
        return;
    // A save that fails leaves the program open: the failure escapes before the flag is set.
    if (SaveSettingsonExit)
        SaveDefaultSettings1Click();
    m_services.closeHelp();
    closing = true;
    closeWindow();
}

void TMain::FormClose()
{
    if (m_closed)
        return;
    if (!closing) {
        // Ends by closing the window, which comes back here with the flag set.
        Exit1Click();
        return;
    }
    m_closed = true;
    Close();
}

void TMain::closeWindow()
{
    FormClose();
}

void TMain::SwapbtnClick()
{
    const std::string source = SourceDirListBox.directory();
    const std::string destination = DestDirListBox.directory();
    if (source == destination)
        return;
    // Both must still be there: a swap that stopped half-way would leave one directory in both
    // views and the other lost.
    checkDirectoryAccess(destination);
    checkDirectoryAccess(source);
    SourceDirListBox.setDirectory(destination);
    DestDirListBox.setDirectory(source);
}

void TMain::Contents1Click()
{
    m_services.showHelpContents();
}

void TMain::HelpTopic1()
{
    m_services.showHelpTopic(1);
}

void TMain::LogFile1Click()
{
    m_services.showModal(m_log);
}

void TMain::Options1Click()
{
    m_services.showModal(m_app.Optionsbx);
}

void TMain::About1Click()
{
    m_services.showModal(m_app.AboutBox);
}

void TMain::viewChanged(DirectoryView& view, Label& label, ComboBox& driveBox)
{
    label.setText(view.directory());
    // A walk moves the views through thousands of directories of one tree; the drive boxes
    // catch up when the run ends and the views go back to their directories.
    if (runInProgress())
        return;
    const int drive = driveIndexOf(driveBox.items(), view.directory());
    if (drive != driveBox.itemIndex())
        driveBox.setItemIndex(drive);
}

void TMain::runEnded()
{
    viewChanged(SourceDirListBox, SourceLabel, DriveComboBox1);
    viewChanged(DestDirListBox, DestLabel, DriveComboBox2);
}

void TMain::refreshDrives()
{
    // File systems come and go (a stick plugged in); the boxes change only when the list does.
    std::vector<std::string> drives = listDrives();
    if (drives == DriveComboBox1.items())
        return;
    DriveComboBox1.setItems(drives);
    DriveComboBox2.setItems(std::move(drives));
    viewChanged(SourceDirListBox, SourceLabel, DriveComboBox1);
    viewChanged(DestDirListBox, DestLabel, DriveComboBox2);
}

void TMain::chooseDrive(ComboBox& driveBox, DirectoryView& view)
{
    const int chosen = driveBox.itemIndex();
    const int current = driveIndexOf(driveBox.items(), view.directory());
    if (chosen < 0 || chosen == current) {
        driveBox.setItemIndex(current);
        return;
    }
    try {
        view.setDirectory(driveBox.text());
    } catch (...) {
        driveBox.setItemIndex(driveIndexOf(driveBox.items(), view.directory()));
        throw;
    }
}

void TMain::DriveComboBox1Change()
{
    chooseDrive(DriveComboBox1, SourceDirListBox);
}

void TMain::DriveComboBox2Change()
{
    chooseDrive(DriveComboBox2, DestDirListBox);
}

} // namespace twinfold
