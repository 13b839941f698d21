// Settings files: the start-up load, Load Settings, the saves and the filter-text helpers.
#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/PathRules.h"
#include "settings/SyncSettings.h"
#include "ui/Main.h"

#include <algorithm>
#include <exception>
#include <utility>

namespace twinfold
{

namespace
{

constexpr const char* SettingsSection = "Settings";
constexpr const char* OptionsSection = "Options";

// The directory a settings file without SourceDir or DestDir stands for: the first drive's root.
#ifdef _WIN32
const std::string DefaultDirectory = "c:\\";
#else
const std::string DefaultDirectory = "/";
#endif

std::string readText(const std::string& file, const char* section, const char* key,
                     const std::string& defaultValue)
{
    return IniFile::readString(file, section, key, defaultValue);
}

// An empty value leaves the view where it is; a directory that cannot be entered throws.
void setViewFromSettings(DirectoryView& view, const std::string& file, const char* key)
{
    const std::string directory = readText(file, SettingsSection, key, DefaultDirectory);
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
        IniFile::writeString(file, SettingsSection, "SourceDir", SourceDirListBox.directory());
        IniFile::writeString(file, SettingsSection, "DestDir", DestDirListBox.directory());
        IniFile::writeBool(file, SettingsSection, "SyncAll", false);
        IniFile::writeBool(file, SettingsSection, "SelectAll", false);
        IniFile::writeBool(file, SettingsSection, "SaveSettings", true);
        return;
    }
    try {
        setViewFromSettings(SourceDirListBox, file, "SourceDir");
        setViewFromSettings(DestDirListBox, file, "DestDir");
    } catch (const std::exception& failure) {
        // The rest of the file stays unread: the program starts with what it had.
        m_services.errorReport(failure.what());
        return;
    }
    SaveSettingsonExit = IniFile::readBool(file, SettingsSection, "SaveSettings", true);
    m_settings.BatchDir = readText(file, SettingsSection, "BatchDir", defaultBatchFile());
    SyncAll.setChecked(IniFile::readBool(file, SettingsSection, "SyncAll", false));
    // The selection itself is made when the window is first activated, once the type choice
    // has given the list its final contents.
    m_startSelectAll = IniFile::readBool(file, SettingsSection, "SelectAll", false);
    setQuietly(cbSelectAll, m_startSelectAll);
    // Set, not applied: the activation applies it.
    EditFilter.setItemIndex(IniFile::readInteger(file, OptionsSection, "Filetype", 0));
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
    setViewFromSettings(SourceDirListBox, path, "SourceDir");
    setViewFromSettings(DestDirListBox, path, "DestDir");
    SaveSettingsonExit = IniFile::readBool(path, SettingsSection, "SaveSettings", false);
    m_settings.BatchDir = readText(path, SettingsSection, "BatchDir", defaultBatchFile());
    // Applied with the filter texts from before this load: they are read further down.
    EditFilter.setItemIndex(IniFile::readInteger(path, OptionsSection, "Filetype", 0));
    EditFilterChange();
    SyncAll.setChecked(IniFile::readBool(path, SettingsSection, "SyncAll", false));
    const bool autoContinue = IniFile::readBool(path, OptionsSection, "AutoContinue", false);
    m_app.Optionsbx.AutoContinue.setChecked(autoContinue);
    m_settings.AutoContinue = autoContinue;
    cbSelectAll.setChecked(IniFile::readBool(path, SettingsSection, "SelectAll", false));
    m_settings.Exclude = readText(path, OptionsSection, "Exclude", "");
    m_settings.Include = readText(path, OptionsSection, "Include", "");
    m_settings.CopyBuffer = IniFile::readInteger(path, OptionsSection, "CopyBuffer", 32768);
    setChunkSizeForm(m_settings.CopyBuffer);

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
    IniFile::writeString(path, SettingsSection, "SourceDir", SourceDirListBox.directory());
    IniFile::writeString(path, SettingsSection, "DestDir", DestDirListBox.directory());
    IniFile::writeBool(path, SettingsSection, "SaveSettings", SaveSettingsonExit);
    IniFile::writeString(path, SettingsSection, "BatchDir", m_settings.BatchDir);
    IniFile::writeBool(path, SettingsSection, "SyncAll", SyncAll.checked());
    IniFile::writeBool(path, OptionsSection, "AutoContinue",
                       m_app.Optionsbx.AutoContinue.checked());
    IniFile::writeBool(path, SettingsSection, "SelectAll", cbSelectAll.checked());
    // The texts as last applied; the options dialog's lists may hold edits never confirmed.
    IniFile::writeString(path, OptionsSection, "Exclude", m_settings.Exclude);
    IniFile::writeString(path, OptionsSection, "Include", m_settings.Include);
    IniFile::writeInteger(path, OptionsSection, "CopyBuffer", m_settings.CopyBuffer);
    IniFile::writeInteger(path, OptionsSection, "Filetype", std::max(EditFilter.itemIndex(), 0));
}

void TMain::SaveSettingsonExitClick()
{
    // The mark changes first, so that unticking takes effect even when storing it fails.
    SaveSettingsonExit = !SaveSettingsonExit;
    IniFile::writeBool(defaultSettingsFile(), SettingsSection, "SaveSettings", SaveSettingsonExit);
}

void TMain::parseString(std::string text, std::vector<std::string>& list)
{
    // Whatever follows the last ";" is not an entry.
    std::size_t start = 0;
    for (std::size_t end = text.find(';'); end != std::string::npos; end = text.find(';', start)) {
        list.push_back(text.substr(start, end - start));
        start = end + 1;
    }
}

std::string TMain::joinFilter(const std::vector<std::string>& list)
{
    std::string text;
    for (const auto& entry : list) {
        text += entry;
        text += ';';
    }
    return text;
}

void TMain::setChunkSizeForm(std::int32_t size)
{
    for (int index = 0; index < 5; ++index) {
        if (TOptionsbx::bufferSizeOf(index) == size) {
            m_app.Optionsbx.CopyBuffer.setCheckedIndex(index);
            return;
        }
    }
}

} // namespace twinfold
