// The main window's command table and the dispatch of its handlers by name.
#include "ui/Main.h"

#include <map>

namespace twinfold
{

const std::vector<MainCommand>& TMain::commandTable()
{
    static const std::vector<MainCommand> table{
        {"File", "Load Settings...", "", "LoadSettingsClick"},
        {"File", "Save Default Settings", "", "SaveDefaultSettings1Click"},
        {"File", "Save Settings As...", "", "SaveSettingsAs1Click"},
        {"File", "Save Settings on Exit", "", "SaveSettingsonExitClick"},
        {"File", "&Sync", "Ctrl+S", "SyncBtnClick"},
        {"File", "E&xit", "Ctrl+X", "Exit1Click"},
        {"Edit", "&Delete", "Del", "Delete1Click"},
        {"Edit", "&Rename", "", "Rename1Click"},
        {"Edit", "Select &All", "Ctrl+A", "SelectAll1Click"},
        {"Batch", "Batch File &Editor...", "", "BatchFileEditor1Click"},
        {"Batch", "&Run Batch File...", "", "RunBatchFile1Click"},
        {"Menu bar", "&Log...", "", "LogFile1Click"},
        {"Menu bar", "Options...", "", "Options1Click"},
        {"Help", "&Contents", "", "Contents1Click"},
        {"Help", "&About", "", "About1Click"},
        {"PopupMenuFL", "Select All", "", "SelectAll1Click"},
        {"PopupMenuFL", "UnSelect All", "", "Cancel1Click"},
        {"PopupMenuFL", "Delete", "", "Delete1Click"},
        {"PopupMenuFL", "Rename", "", "Rename1Click"},
        {"PopupMenuFL", "Sync", "", "SyncBtnClick"},
        {"PopupMenuSD", "Make Directory", "", "MakeDirectorySDClick"},
        {"PopupMenuSD", "Delete Directory", "", "DeleteDirectorySDClick"},
        {"PopupMenuDD", "Make Directory", "", "MakeDirectoryDDClick"},
        {"PopupMenuDD", "Delete Directory", "", "DeleteDirectoryDDClick"},
        {"Button", "&Sync", "", "SyncBtnClick"},
        {"Button", "E&xit", "", "Exit1Click"},
        {"Button", "<< Swap >>", "", "SwapbtnClick"},
    };
    return table;
}

bool TMain::invoke(const std::string& handler)
{
    using Handler = void (TMain::*)();
    // Every handler of the table, and the other events a front end forwards by name.
    static const std::map<std::string, Handler> handlers{
        {"LoadSettingsClick", &TMain::LoadSettingsClick},
        {"SaveDefaultSettings1Click", &TMain::SaveDefaultSettings1Click},
        {"SaveSettingsAs1Click", &TMain::SaveSettingsAs1Click},
        {"SaveSettingsonExitClick", &TMain::SaveSettingsonExitClick},
        {"SyncBtnClick", &TMain::SyncBtnClick},
        {"Exit1Click", &TMain::Exit1Click},
        {"Delete1Click", &TMain::Delete1Click},
        {"Rename1Click", &TMain::Rename1Click},
        {"SelectAll1Click", &TMain::SelectAll1Click},
        {"BatchFileEditor1Click", &TMain::BatchFileEditor1Click},
        {"RunBatchFile1Click", &TMain::RunBatchFile1Click},
        {"LogFile1Click", &TMain::LogFile1Click},
        {"Options1Click", &TMain::Options1Click},
        {"Contents1Click", &TMain::Contents1Click},
        {"About1Click", &TMain::About1Click},
        {"Cancel1Click", &TMain::Cancel1Click},
        {"MakeDirectorySDClick", &TMain::MakeDirectorySDClick},
        {"DeleteDirectorySDClick", &TMain::DeleteDirectorySDClick},
        {"MakeDirectoryDDClick", &TMain::MakeDirectoryDDClick},
        {"DeleteDirectoryDDClick", &TMain::DeleteDirectoryDDClick},
        {"SwapbtnClick", &TMain::SwapbtnClick},
        {"HelpTopic1", &TMain::HelpTopic1},
        {"EditFilterChange", &TMain::EditFilterChange},
        {"cbSelectAllClick", &TMain::cbSelectAllClick},
        {"SyncAllClick", &TMain::SyncAllClick},
        {"FileListClick", &TMain::FileListClick},
        {"FileListChange", &TMain::FileListChange},
        {"DriveComboBox1Change", &TMain::DriveComboBox1Change},
        {"DriveComboBox2Change", &TMain::DriveComboBox2Change},
    };
    const auto found = handlers.find(handler);
    if (found == handlers.end())
        return false;
    (this->*found->second)();
    return true;
}

} // namespace twinfold
