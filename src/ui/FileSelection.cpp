// The source file list: the file-type choice, the exclude filter and the selection statistics.
#include "ui/FileSelection.h"

#include "controls/Controls.h"
#include "controls/DirectoryView.h"
#include "controls/FileListBox.h"
#include "engine/BufferedCopy.h"
#include "platform/PathRules.h"
#include "platform/Windowing.h"
#include "settings/SyncSettings.h"
#include "ui/Main.h"

#include <cmath>
#include <cstdio>

namespace twinfold
{

FileSelection::FileSelection(WindowingServices& services, const SyncSettings& settings,
                             Controls controls)
    : m_services(services), m_settings(settings), SourceDirListBox(controls.SourceDirListBox),
      FileList(controls.FileList), ExcludeFiles(controls.ExcludeFiles),
      EditFilter(controls.EditFilter), cbSelectAll(controls.cbSelectAll), selsize(controls.selsize),
      FileCount(controls.FileCount)
{
}

void FileSelection::EditFilterChange()
{
    const std::string choice = EditFilter.text();
    if (choice == FileTypeAll) {
        // Read again even when the mask stays, so that excluded files come back.
        FileList.read(SourceDirListBox.directory(), "*.*");
    } else if (choice == FileTypeCustom) {
        FileList.setMask(m_settings.Include.empty() ? std::string("*.*") : m_settings.Include);
        FilterFileList();
    } else if (choice == FileTypeExcel) {
        FileList.setMask("*.xls");
    } else if (choice == FileTypeLotus) {
        FileList.setMask("*.wk*");
    } else if (choice == FileTypeDocuments) {
        FileList.setMask("*.doc");
    }
}

void FileSelection::FilterFileList()
{
    ExcludeFiles.read(SourceDirListBox.directory(), m_settings.Exclude);
    for (int e = ExcludeFiles.count() - 1; e >= 0; --e) {
        const std::string excluded = upperAscii(ExcludeFiles.item(e));
        for (int i = FileList.count() - 1; i >= 0; --i) {
            if (upperAscii(FileList.item(i)) == excluded) {
                FileList.remove(i);
                break;
            }
        }
    }
}

void FileSelection::FileListChange()
{
    if (EditFilter.text() == FileTypeCustom)
        FilterFileList();
    FileListClick();
}

void FileSelection::FileListClick()
{
    BusyCursor busy(m_services);
    const int selected = FileList.selectedCount();
    double value = 0;
    const char* unit = "Bytes";
    if (selected > 0) {
        double total = 0;
        for (int i = 0; i < FileList.count(); ++i) {
            if (FileList.selected(i))
                total += FileSizeByName(joinPath(FileList.directory(), FileList.item(i)));
        }
        value = total;
        if (total / 1024 >= 1) {
            value = total / 1024;
            unit = "KBytes";
        }
    }
    // Halves round up (away from zero), not to the even neighbour as printf would.
    selsize.setText("Selected Size: " + std::to_string(std::llround(value)) + " " + unit);
    FileCount.setText("Total Files Selected: " + std::to_string(selected));
    if (FileList.count() != selected)
        cbSelectAll.setChecked(false);
}

void FileSelection::SelectAll()
{
    {
        BusyCursor busy(m_services);
        m_services.processPendingEvents();
        for (int i = 0; i < FileList.count(); ++i)
            FileList.setSelected(i, true);
    }
    FileListClick();
}

void FileSelection::SelectAll1Click()
{
    // Ticking the box selects; a box ticked already means everything is selected.
    cbSelectAll.setChecked(true);
}

void FileSelection::cbSelectAllClick()
{
    // Clearing the box leaves the selection as it is.
    if (cbSelectAll.checked())
        SelectAll();
}

void FileSelection::Cancel1Click()
{
    for (int i = 0; i < FileList.count(); ++i)
        FileList.setSelected(i, false);
    cbSelectAll.setChecked(false);
    FileListClick();
}

} // namespace twinfold
