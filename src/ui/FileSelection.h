#pragma once

#include <string>

namespace twinfold
{

class CheckBox;
class ComboBox;
class DirectoryView;
class FileListBox;
class Label;
class WindowingServices;
struct SyncSettings;

// The source file list's file-type filter and its selection, with the selection statistics
// beside the list. The main window hands its handlers of these on to this.
class FileSelection
{
public:
    // The main window's controls it works on.
    struct Controls {
        DirectoryView& SourceDirListBox;
        FileListBox& FileList;
        FileListBox& ExcludeFiles;
        ComboBox& EditFilter;
        CheckBox& cbSelectAll;
        Label& selsize;
        Label& FileCount;
    };

    FileSelection(WindowingServices& services, const SyncSettings& settings, Controls controls);

    void EditFilterChange();
    void FilterFileList();
    void FileListChange();
    void FileListClick();
    void SelectAll();
    void SelectAll1Click();
    void cbSelectAllClick();
    void Cancel1Click();

private:
    WindowingServices& m_services;
    const SyncSettings& m_settings;
    DirectoryView& SourceDirListBox;
    FileListBox& FileList;
    FileListBox& ExcludeFiles;
    ComboBox& EditFilter;
    CheckBox& cbSelectAll;
    Label& selsize;
    Label& FileCount;
};

} // namespace twinfold
