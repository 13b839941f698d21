#pragma once

namespace twinfold
{

class DirectoryView;
class FileListBox;
class TDelete;
class Window;
class DirectoryCache;
class WindowingServices;

// The main window's file and directory operations: delete and rename the selected files, make
// and delete directories from either view. The main window hands its handlers on to this.
class FileOperations
{
public:
    FileOperations(WindowingServices& services, const Window& owner, DirectoryCache& cache,
                   DirectoryView& sourceView, FileListBox& fileList, DirectoryView& destinationView,
                   TDelete& deleteDialog);

    void Delete1Click();
    void Rename1Click();
    void MakeDirectorySDClick();
    void MakeDirectoryDDClick();
    void DeleteDirectorySDClick();
    void DeleteDirectoryDDClick();

private:
    WindowingServices& m_services;
    const Window& m_owner;
    DirectoryCache& m_cache;
    DirectoryView& SourceDirListBox;
    FileListBox& FileList;
    DirectoryView& DestDirListBox;
    TDelete& m_delete;
};

} // namespace twinfold
