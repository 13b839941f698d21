#include "ui/Main.h"

#include "engine/SyncBox.h"
#include "platform/FileSystem.h"
#include "platform/PathRules.h"
#include "settings/SyncSettings.h"

namespace twinfold
{

TMain::TMain(WindowingServices& services, SyncSettings& settings, DirectoryCache& cache,
             MainWindows windows)
    : Window("TMain"), SourceDirListBox(cache), FileList(cache), DestDirListBox(cache),
      EditFilter({FileTypeAll, FileTypeCustom, FileTypeExcel, FileTypeLotus, FileTypeDocuments}),
      ExcludeFiles(cache), m_services(services), m_app(windows), m_settings(settings),
      m_syncBox(windows.SyncBox), m_log(windows.LogFilebx),
      m_run(services, *this, windows.SyncBox, windows.LogFilebx),
      m_batch(services, *this, settings, windows.Optionsbx),
      m_selection(
          services, settings,
          {SourceDirListBox, FileList, ExcludeFiles, EditFilter, cbSelectAll, selsize, FileCount}),
      m_operations(services, *this, cache, SourceDirListBox, FileList, DestDirListBox,
                   windows.Delete)
{
    // These run at every directory a Sync All walk visits: the directory is read once, and the
    // view and the file list share that listing.
    SourceDirListBox.setReadsEagerly(true);
    SourceDirListBox.onChange = [this] {
        viewChanged(SourceDirListBox, SourceLabel, DriveComboBox1);
        FileList.setDirectory(SourceDirListBox.directory(), *SourceDirListBox.sharedListing());
    };
    DestDirListBox.onChange = [this] { viewChanged(DestDirListBox, DestLabel, DriveComboBox2); };
    FileList.onChange = [this] { FileListChange(); };
    SyncAll.onClick = [this] { SyncAllClick(); };
    cbSelectAll.onClick = [this] { cbSelectAllClick(); };
    selsize.setText("Selected Size: 0 KBytes");
    FileCount.setText("Total files Selected: ");
    refreshDrives();

    // Both views start in the directory the process was started in.
    try {
        const std::string start = currentDirectory();
        SourceDirListBox.setDirectory(start);
        DestDirListBox.setDirectory(start);
    } catch (const std::exception&) {
        // An unreadable starting directory leaves the views at the root.
    }
    if (FileList.directory().empty())
        FileList.setDirectory(SourceDirListBox.directory());
    viewChanged(SourceDirListBox, SourceLabel, DriveComboBox1);
    viewChanged(DestDirListBox, DestLabel, DriveComboBox2);
}

std::string TMain::defaultSettingsFile() const
{
    return programDirectory + DefaultSettingsName;
}

std::string TMain::defaultBatchFile() const
{
    return programDirectory + DefaultBatchName;
}

bool TMain::runInProgress() const
{
    return m_syncBox.running || m_previewing;
}

void TMain::SyncAllClick()
{
    cbSelectAll.setEnabled(!SyncAll.checked());
}

} // namespace twinfold
