#include "ui/Main.h"

#include "app/Application.h"
#include "engine/SyncBox.h"
#include "platform/FileSystem.h"
#include "platform/PathRules.h"

namespace twinfold {

TMain::TMain(WindowingServices& services, Application& app)
    : EditFilter({FileTypeAll, FileTypeCustom, FileTypeExcel, FileTypeLotus, FileTypeDocuments}),
      m_services(services), m_app(app), m_settings(app.Settings), m_syncBox(app.SyncBox),
      m_log(app.LogFilebx)
{
    SourceDirListBox.onChange = [this] { FileList.setDirectory(SourceDirListBox.directory()); };
    FileList.onChange = [this] { FileListChange(); };
    SyncAll.onClick = [this] { SyncAllClick(); };
    selsize.setText("Selected Size: 0 KBytes");
    FileCount.setText("Total files Selected: ");

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
}

std::string TMain::defaultSettingsFile() const
{
    return programDirectory + DefaultSettingsName;
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
