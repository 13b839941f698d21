#include "batch/Batch.h"

#include "batch/BatchFile.h"
#include "platform/FileSystem.h"
#include "platform/PathRules.h"
#include "settings/SyncSettings.h"

namespace twinfold
{

namespace
{

const char* const BatchFilter = "Tfold Batch (*.tfw)|*.tfw|All Files (*.*)|*.*";

} // namespace

TBatchDlg::TBatchDlg(WindowingServices& services, SyncSettings& settings, DirectoryCache& cache)
    : Window("TBatchDlg"), SDirList(cache), FileList(cache), m_services(services),
      m_settings(settings)
{
    FilterComboBox1.setItemIndex(0);
    FileList.setMask("*.ini");
    SDirList.onChange = [this] { followDirectory(); };
    Open.filter = BatchFilter;
    Open.defaultExtension = "tfw";
    Open.fileMustExist = true;
    Open.pathMustExist = true;
    SaveAs.filter = BatchFilter;
    SaveAs.defaultExtension = "tfw";
    SaveAs.pathMustExist = true;
    SaveAs.confirmOverwrite = true;
}

void TBatchDlg::FormCreate()
{
    Modified = false;
    BatchFileName = Untitled;
}

void TBatchDlg::followDirectory()
{
    SourceLabel.setText(SDirList.directory());
    FileList.setDirectory(SDirList.directory());
    std::vector<std::string> drives = listDrives();
    const std::string drive = driveOf(SDirList.directory());
    int index = -1;
    for (std::size_t i = 0; i < drives.size(); ++i) {
        if (drives[i] == drive)
            index = static_cast<int>(i);
    }
    DriveComboBox1.setItems(std::move(drives));
    DriveComboBox1.setItemIndex(index);
}

void TBatchDlg::DriveComboBox1Change()
{
    const std::string drive = DriveComboBox1.text();
    if (!drive.empty())
        SDirList.setDirectory(drive);
}

void TBatchDlg::FilterComboBox1Change()
{
    FileList.setMask(FilterComboBox1.itemIndex() == 1 ? "*.*" : "*.ini");
}

void TBatchDlg::setTitle(const std::string& path)
{
    Caption = "Batch Editor (" + extractFileName(path) + ")";
}

std::string TBatchDlg::fullPathOf(int fileIndex) const
{
    return recordedPath(joinPath(SDirList.directory(), FileList.item(fileIndex)));
}

FileDialogOptions TBatchDlg::seeded(const FileDialogOptions& dialog) const
{
    FileDialogOptions options = dialog;
    const std::string& batchDir = m_settings.BatchDir;
    options.fileName = extractFileName(batchDir);
    options.initialDirectory = extractFilePath(batchDir);
    return options;
}

void TBatchDlg::ClearBatchList()
{
    for (int i = BatchList.count() - 1; i >= 0; --i)
        BatchList.remove(i);
}

void TBatchDlg::New1Click()
{
    if (Modified && !m_services.confirm(this, "Do you wish clear current changes?"))
        return;
    Caption = "Batch Editor (Untitled)";
    BatchFileName = Untitled;
    ClearBatchList();
    Modified = false;
}

void TBatchDlg::Open1Click()
{
    const auto path = m_services.openFileDialog(seeded(Open));
    if (!path)
        return;
    ClearBatchList();
    for (auto& entry : ReadBatchFile(*path))
        BatchList.add(std::move(entry));
    BatchFileName = *path;
    setTitle(*path);
    m_settings.BatchDir = *path;
    Modified = false;
}

void TBatchDlg::Save1Click()
{
    if (BatchFileName == Untitled) {
        SaveAsMenuClick();
        return;
    }
    WriteBatchFile(BatchFileName, BatchList.items());
    m_settings.BatchDir = BatchFileName;
    Modified = false;
}

void TBatchDlg::SaveAsMenuClick()
{
    const auto path = m_services.saveFileDialog(seeded(SaveAs));
    if (!path)
        return;
    // A failed write raises before any of the editor's state changes.
    WriteBatchFile(*path, BatchList.items());
    BatchFileName = *path;
    setTitle(*path);
    m_settings.BatchDir = *path;
    Modified = false;
}

void TBatchDlg::ExitClick()
{
    if (Modified &&
        !m_services.confirm(
            this, "You are about to exit after making changes...Do you wish to continue?"))
        return;
    Close();
}

void TBatchDlg::CancelClick()
{
    Close();
}

void TBatchDlg::FileListDblClick()
{
    Modified = true;
    const int current = FileList.itemIndex();
    if (FileList.selected(current))
        BatchList.add(fullPathOf(current));
}

void TBatchDlg::SpeedButton4Click()
{
    Modified = true;
    for (int i = 0; i < FileList.count(); ++i) {
        if (FileList.selected(i))
            BatchList.add(fullPathOf(i));
    }
}

void TBatchDlg::SpeedButton3Click()
{
    Modified = true;
    for (int i = 0; i < BatchList.count();) {
        if (BatchList.selected(i))
            BatchList.remove(i);
        else
            ++i;
    }
}

void TBatchDlg::BatchListDblClick()
{
    Modified = true;
    BatchList.remove(BatchList.itemIndex());
}

} // namespace twinfold
