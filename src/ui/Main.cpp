#include "ui/Main.h"

#include "engine/SyncBox.h"
#include "platform/FileSystem.h"

namespace twinfold {

TMain::TMain(WindowingServices& services, SyncSettings& settings, TSyncBox& syncBox,
             TLogFilebx& log)
    : EditFilter({FileTypeAll, FileTypeCustom, FileTypeExcel, FileTypeLotus, FileTypeDocuments}),
      m_services(services), m_settings(settings), m_syncBox(syncBox), m_log(log)
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

bool TMain::runInProgress() const
{
    return m_syncBox.running;
}

void TMain::SyncAllClick()
{
    cbSelectAll.setEnabled(!SyncAll.checked());
}

} // namespace twinfold
