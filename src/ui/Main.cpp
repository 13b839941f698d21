#include "ui/Main.h"

#include "app/Application.h"
#include "engine/SyncBox.h"
#include "platform/FileSystem.h"
#include "platform/PathRules.h"

namespace twinfold
{

TMain::TMain(WindowingServices& services, Application& app)
    : SourceDirListBox(app.directoryCache), FileList(app.directoryCache),
      DestDirListBox(app.directoryCache),
      EditFilter({FileTypeAll, FileTypeCustom, FileTypeExcel, FileTypeLotus, FileTypeDocuments}),
      ExcludeFiles(app.directoryCache), m_services(services), m_app(app), m_settings(app.Settings),
      m_syncBox(app.SyncBox), m_log(app.LogFilebx)
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
    return m_syncBox.running;
}

void TMain::SyncAllClick()
{
    cbSelectAll.setEnabled(!SyncAll.checked());
}

} // namespace twinfold
