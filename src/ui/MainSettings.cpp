// The main window's settings commands: the start-up load, Load Settings and the saves.
#include "platform/ErrorText.h"
#include "platform/FileSystem.h"
#include "platform/IniDocument.h"
#include "settings/FilterText.h"
#include "settings/SettingsStorage.h"
#include "settings/SyncSettings.h"
#include "ui/Main.h"

#include <algorithm>
#include <exception>
#include <utility>

namespace twinfold
{

namespace
{

// An empty value leaves the view where it is; a directory that cannot be entered throws, and so
// does a cut value, as the over-long path it stands for would.
void setViewFromSettings(DirectoryView& view, const std::string& directory, bool cut)
{
    if (cut)
        throw nameTooLongError();
    if (!directory.empty())
        view.setDirectory(directory);
}

// Sets a check box without running its click handler.
void setQuietly(CheckBox& box, bool checked)
{
    auto handler = std::exchange(box.onClick, nullptr);
    box.setChecked(checked);
    box.onClick = std::move(handler);
}

} // namespace

void TMain::startupLoad()
{
    const std::string file = defaultSettingsFile();
    if (!fileExists(file)) {
        StoredSettings first;
        first.SourceDir = SourceDirListBox.directory();
        first.DestDir = DestDirListBox.directory();
        first.SyncAll = false;
        first.SelectAll = false;
        first.SaveSettings = true;
        saveKeys(file, first, {"SourceDir", "DestDir", "SyncAll", "SelectAll", "SaveSettings"});
        return;
    }
    const StoredSettings stored =
        readSettings(IniDocument::load(file), SettingsRead::StartUp, defaultBatchFile());
    try {
        setViewFromSettings(SourceDirListBox, stored.SourceDir, stored.SourceDirCut);
        setViewFromSettings(DestDirListBox, stored.DestDir, stored.DestDirCut);
    } catch (const std::exception& failure) {
        // The rest of the file stays unapplied: the program starts with what it had.
        m_services.errorReport(failure);
        return;
    }
    SaveSettingsonExit = stored.SaveSettings;
    m_settings.BatchDir = stored.BatchDir;
    SyncAll.setChecked(stored.SyncAll);
    // The selection itself is made when the window is first activated, once the type choice
    // has given the list its final contents.
    m_startSelectAll = stored.SelectAll;
    setQuietly(cbSelectAll, m_startSelectAll);
    // Set, not applied: the activation applies it.
    EditFilter.setItemIndex(stored.Filetype);
}

void TMain::LoadSettingsClick()
{
    const auto chosen = m_services.openFileDialog(OpenDialog);
    if (!chosen)
        return;
    LoadSettingsFile(expandFileName(*chosen));
}

void TMain::LoadSettingsFile(const std::string& path)
{
    if (path.empty())
        return;
    const StoredSettings stored =
        readSettings(IniDocument::load(path), SettingsRead::LoadSettings, defaultBatchFile());
    setViewFromSettings(SourceDirListBox, stored.SourceDir, stored.SourceDirCut);
    setViewFromSettings(DestDirListBox, stored.DestDir, stored.DestDirCut);
    SaveSettingsonExit = stored.SaveSettings;
    m_settings.BatchDir = stored.BatchDir;
    // Applied with the filter texts from before this load: they are taken further down.
    EditFilter.setItemIndex(stored.Filetype);
    EditFilterChange();
    SyncAll.setChecked(stored.SyncAll);
    m_app.Optionsbx.AutoContinue.setChecked(stored.AutoContinue);
    m_settings.AutoContinue = stored.AutoContinue;
    cbSelectAll.setChecked(stored.SelectAll);
    m_settings.Exclude = stored.Exclude;
    m_settings.Include = stored.Include;
    m_settings.CopyBuffer = stored.CopyBuffer;
    setChunkSizeForm(m_app.Optionsbx.CopyBuffer, m_settings.CopyBuffer);
    m_app.Optionsbx.showTimeShift(stored.TimeShift);
    m_app.Optionsbx.showJobs(stored.Jobs);

    m_app.Optionsbx.loadFilterLists();
}

void TMain::SaveDefaultSettings1Click()
{
    saveSettingsTo(defaultSettingsFile());
}

void TMain::SaveSettingsAs1Click()
{
    const auto chosen = m_services.saveFileDialog(SaveAs);
    if (!chosen)
        return;
    saveSettingsTo(expandFileName(*chosen));
}

void TMain::saveSettingsTo(const std::string& path)
{
    StoredSettings values;
    // The texts as last applied; the options dialog's lists may hold edits never confirmed.
    static_cast<SyncSettings&>(values) = m_settings;
    values.SourceDir = SourceDirListBox.directory();
    values.DestDir = DestDirListBox.directory();
    values.SaveSettings = SaveSettingsonExit;
    values.SyncAll = SyncAll.checked();
    values.AutoContinue = m_app.Optionsbx.AutoContinue.checked();
    values.SelectAll = cbSelectAll.checked();
    values.Filetype = std::max(EditFilter.itemIndex(), 0);
    saveSettings(path, values);
}

void TMain::SaveSettingsonExitClick()
{
    // The mark changes first, so that unticking takes effect even when storing it fails.
    SaveSettingsonExit = !SaveSettingsonExit;
    StoredSettings values;
    values.SaveSettings = SaveSettingsonExit;
    saveKeys(defaultSettingsFile(), values, {"SaveSettings"});
}

void TMain::showCopyBufferSize(std::int32_t size)
{
    m_app.Optionsbx.showBufferSize(size);
}

} // namespace twinfold
