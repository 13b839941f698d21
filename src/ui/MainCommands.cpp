// The main window's command table and the dispatch of its handlers by name.
#include "ui/Main.h"

#include <stdexcept>

namespace twinfold
{

const std::vector<MainCommand>& TMain::commandTable()
{
    static const std::vector<MainCommand> table{
        {Where::FileMenu, "Load Settings...", "", "LoadSettingsClick", &TMain::LoadSettingsClick},
        {Where::FileMenu, "Save Default Settings", "", "SaveDefaultSettings1Click",
         &TMain::SaveDefaultSettings1Click},
        {Where::FileMenu, "Save Settings As...", "", "SaveSettingsAs1Click",
         &TMain::SaveSettingsAs1Click},
        {Where::FileMenu, "Save Settings on Exit", "", "SaveSettingsonExitClick",
         &TMain::SaveSettingsonExitClick, false, &TMain::SaveSettingsonExit},
        {Where::FileMenu, "&Sync", "Ctrl+S", "SyncBtnClick", &TMain::SyncBtnClick, true},
        {Where::FileMenu, "&Preview", "F5", "Preview1Click", &TMain::Preview1Click},
        {Where::FileMenu, "E&xit", "Ctrl+X", "Exit1Click", &TMain::Exit1Click, true},
        {Where::EditMenu, "&Delete", "Del", "Delete1Click", &TMain::Delete1Click},
        {Where::EditMenu, "&Rename", "", "Rename1Click", &TMain::Rename1Click},
        {Where::EditMenu, "Select &All", "Ctrl+A", "SelectAll1Click", &TMain::SelectAll1Click},
        {Where::BatchMenu, "Batch File &Editor...", "", "BatchFileEditor1Click",
         &TMain::BatchFileEditor1Click},
        {Where::BatchMenu, "&Run Batch File...", "", "RunBatchFile1Click",
         &TMain::RunBatchFile1Click},
        {Where::MenuBar, "&Log...", "", "LogFile1Click", &TMain::LogFile1Click},
        {Where::MenuBar, "Options...", "", "Options1Click", &TMain::Options1Click},
        {Where::HelpMenu, "&Contents", "", "Contents1Click", &TMain::Contents1Click},
        {Where::HelpMenu, "&About", "", "About1Click", &TMain::About1Click},
        {Where::FileListPopup, "Select All", "", "SelectAll1Click", &TMain::SelectAll1Click},
        {Where::FileListPopup, "UnSelect All", "", "Cancel1Click", &TMain::Cancel1Click},
        {Where::FileListPopup, "Delete", "", "Delete1Click", &TMain::Delete1Click},
        {Where::FileListPopup, "Rename", "", "Rename1Click", &TMain::Rename1Click},
        {Where::FileListPopup, "Sync", "", "SyncBtnClick", &TMain::SyncBtnClick},
        {Where::FileListPopup, "Preview", "", "Preview1Click", &TMain::Preview1Click},
        {Where::SourceViewPopup, "Make Directory", "", "MakeDirectorySDClick",
         &TMain::MakeDirectorySDClick},
        {Where::SourceViewPopup, "Delete Directory", "", "DeleteDirectorySDClick",
         &TMain::DeleteDirectorySDClick},
        {Where::DestViewPopup, "Make Directory", "", "MakeDirectoryDDClick",
         &TMain::MakeDirectoryDDClick},
        {Where::DestViewPopup, "Delete Directory", "", "DeleteDirectoryDDClick",
         &TMain::DeleteDirectoryDDClick},
        {Where::Button, "&Sync", "", "SyncBtnClick", &TMain::SyncBtnClick},
        {Where::Button, "E&xit", "", "Exit1Click", &TMain::Exit1Click},
        {Where::Button, "<< Swap >>", "", "SwapbtnClick", &TMain::SwapbtnClick},
        // The window's own key, and the events of its controls that a front end forwards; no
        // menu or button shows them.
        {Where::Key, "", "F1", "HelpTopic1", &TMain::HelpTopic1},
        {Where::Event, "", "", "EditFilterChange", &TMain::EditFilterChange},
        {Where::Event, "", "", "cbSelectAllClick", &TMain::cbSelectAllClick},
        {Where::Event, "", "", "SyncAllClick", &TMain::SyncAllClick},
        {Where::Event, "", "", "FileListClick", &TMain::FileListClick},
        {Where::Event, "", "", "FileListChange", &TMain::FileListChange},
        {Where::Event, "", "", "DriveComboBox1Change", &TMain::DriveComboBox1Change},
        {Where::Event, "", "", "DriveComboBox2Change", &TMain::DriveComboBox2Change},
    };
    return table;
}

const MainCommand& TMain::command(Where where, void (TMain::*run)())
{
    for (const MainCommand& row : commandTable())
        if (row.where == where && row.run == run)
            return row;
    throw std::logic_error("The main window has no such command at that place");
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
