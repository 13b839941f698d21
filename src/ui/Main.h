#pragma once

#include "platform/Controls.h"
#include "ui/DirectoryView.h"
#include "ui/FileListBox.h"

#include <string>

namespace twinfold {

class WindowingServices;
class TSyncBox;
class TLogFilebx;
struct SyncSettings;

// The file-type choices of EditFilter, in their order.
inline constexpr const char* FileTypeAll = "All files (*.*)";
inline constexpr const char* FileTypeCustom = "Custom - Use Include/Exclude lists";
inline constexpr const char* FileTypeExcel = "Excel Files (*.xls)";
inline constexpr const char* FileTypeLotus = "Lotus Files (*.wk*)";
inline constexpr const char* FileTypeDocuments = "Documents (*.doc)";

// The main window: the job's inputs (the two directory views, the source file list, the
// file-type choice, the two check boxes) and the commands that act on them.
class TMain {
public:
    TMain(WindowingServices& services, SyncSettings& settings, TSyncBox& syncBox,
          TLogFilebx& log);
    TMain(const TMain&) = delete;
    TMain& operator=(const TMain&) = delete;

    // Controls.
    DirectoryView SourceDirListBox;
    DirectoryView DestDirListBox;
    FileListBox FileList;
    FileListBox ExcludeFiles; // hidden: the source directory's files that match the exclude masks
    ComboBox EditFilter;
    CheckBox cbSelectAll{"Select All files"};
    CheckBox SyncAll{"Sync All Subdirectories"};
    Label selsize;
    Label FileCount;

    bool BatchMode = false;
    std::string SourceRoot;

    // Not part of the window: a dry run applies the newer-than rule and logs what would be
    // copied as copied, but changes nothing on disk.
    bool dryRun = false;

    // The Sync command and the engine under it.
    void SyncBtnClick();
    void SyncAllFiles(DirectoryView& view);
    void Traverse(DirectoryView& view);

    // File list and file-type filter.
    void EditFilterChange();
    void FileListChange();
    void FilterFileList();
    void FileListClick();
    void SyncAllClick();

    // True while a run is in progress: the main window's commands are kept out until it ends.
    bool runInProgress() const;

private:
    void runSelectedFiles();
    void runSyncAll();
    void restoreViewsAfterFailure(const std::string& source, const std::string& destination);
    void processFile(const std::string& sourcePath, const std::string& destinationDir);

    WindowingServices& m_services;
    SyncSettings& m_settings;
    TSyncBox& m_syncBox;
    TLogFilebx& m_log;
};

} // namespace twinfold
