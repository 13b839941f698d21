// The main window's command table and the dispatch of its handlers by name.
#include "ui/Main.h"

namespace twinfold
{

const std::vector<MainCommand>& TMain::commandTable()
{
    static const std::vector<MainCommand> table{
        {"File", "Load Settings...", "", "LoadSettingsClick", &TMain::LoadSettingsClick},
        {"File", "Save Default Settings", "", "SaveDefaultSettings1Click",
         &TMain::SaveDefaultSettings1Click},
        {"File", "Save Settings As...", "", "SaveSettingsAs1Click", &TMain::SaveSettingsAs1Click},
        {"File", "Save Settings on Exit", "", "SaveSettingsonExitClick",
         &TMain::SaveSettingsonExitClick},
        {"File", "&Sync", "Ctrl+S", "SyncBtnClick", &TMain::SyncBtnClick},
        {"File", "&Preview", "F5", "Preview1Click", &TMain::Preview1Click},
        {"File", "E&xit", "Ctrl+X", "Exit1Click", &TMain::Exit1Click},
        {"Edit", "&Delete", "Del", "Delete1Click", &TMain::Delete1Click},
        {"Edit", "&Rename", "", "Rename1Click", &TMain::Rename1Click},
        {"Edit", "Select &All", "Ctrl+A", "SelectAll1Click", &TMain::SelectAll1Click},
        {"Batch", "Batch File &Editor...", "", "BatchFileEditor1Click",
         &TMain::BatchFileEditor1Click},
        {"Batch", "&Run Batch File...", "", "RunBatchFile1Click", &TMain::RunBatchFile1Click},
        {"Menu bar", "&Log...", "", "LogFile1Click", &TMain::LogFile1Click},
        {"Menu bar", "Options...", "", "Options1Click", &TMain::Options1Click},
        {"Help", "&Contents", "", "Contents1Click", &TMain::Contents1Click},
        {"Help", "&About", "", "About1Click", &TMain::About1Click},
        {"PopupMenuFL", "Select All", "", "SelectAll1Click", &TMain::SelectAll1Click},
        {"PopupMenuFL", "UnSelect All", "", "Cancel1Click", &TMain::Cancel1Click},
        {"PopupMenuFL", "Delete", "", "Delete1Click", &TMain::Delete1Click},
        {"PopupMenuFL", "Rename", "", "Rename1Click", &TMain::Rename1Click},
        {"PopupMenuFL", "Sync", "", "SyncBtnClick", &TMain::SyncBtnClick},
        {"PopupMenuFL", "Preview", "", "Preview1Click", &TMain::Preview1Click},
        {"PopupMenuSD", "Make Directory", "", "MakeDirectorySDClick", &TMain::MakeDirectorySDClick},
        {"PopupMenuSD", "Delete Directory", "", "DeleteDirectorySDClick",
         &TMain::DeleteDirectorySDClick},
        {"PopupMenuDD", "Make Directory", "", "MakeDirectoryDDClick", &TMain::MakeDirectoryDDClick},
        {"PopupMenuDD", "Delete Directory", "", "DeleteDirectoryDDClick",
         &TMain::DeleteDirectoryDDClick},
        {"Button", "&Sync", "", "SyncBtnClick", &TMain::SyncBtnClick},
        {"Button", "E&xit", "", "Exit1Click", &TMain::Exit1Click},
        {"Button", "<< Swap >>", "", "SwapbtnClick", &TMain::SwapbtnClick},
        // Events of the window and its controls that a front end forwards by name; no menu or
        // button shows them.
        {"Event", "", "F1", "HelpTopic1", &TMain::HelpTopic1},
        {"Event", "", "", "EditFilterChange", &TMain::EditFilterChange},
        {"Event", "", "", "cbSelectAllClick", &TMain::cbSelectAllClick},
        {"Event", "", "", "SyncAllClick", &TMain::SyncAllClick},
        {"Event", "", "", "FileListClick", &TMain::FileListClick},
        {"Event", "", "", "FileListChange", &TMain::FileListChange},
        {"Event", "", "", "DriveComboBox1Change", &TMain::DriveComboBox1Change},
        {"Event", "", "", "DriveComboBox2Change", &TMain::DriveComboBox2Change},
    };
    return table;
}

bool TMain::invoke(const std::string& handler)
{
    for (const MainCommand& command : commandTable()) {
        if (command.handler == handler) {
            (this->*command.run)();
            return true;
        }
    }
    return false;
}

} // namespace twinfold
