// The Sync command and batch runs, handed on to the run and the batch run; the batch editor.
#include "batch/Batch.h"
#include "settings/SyncSettings.h"
#include "ui/Main.h"

namespace twinfold
{

void TMain::SyncBtnClick()
{
    m_run.run();
}

void TMain::Traverse(DirectoryView& view)
{
    m_run.Traverse(view);
}

void TMain::SyncAllFiles(DirectoryView& view)
{
    m_run.SyncAllFiles(view);
}

RunChoices TMain::runChoices() const
{
    return {BatchMode,
            dryRun,
            m_settings.AutoContinue,
            m_settings.CopyBuffer,
            m_settings.Fsync,
            keepGoing,
            timeShiftForAll.value_or(m_settings.TimeShift)};
}

void TMain::ExecuteBatch(const std::string& path)
{
    m_batch.ExecuteBatch(path);
}

void TMain::BatchFileEditor1Click()
{
    auto& editor = m_app.BatchDlg;
    editor.SDirList.setDirectory(SourceDirListBox.directory());
    editor.ClearBatchList();
    editor.BatchFileName = Untitled;
    editor.Caption = "Batch Editor (Untitled)";
    editor.Modified = false;
    m_services.showModal(editor);
}

void TMain::RunBatchFile1Click()
{
    const auto path = m_services.openFileDialog(m_app.BatchDlg.seeded(m_app.BatchDlg.Open));
    if (path)
        ExecuteBatch(*path);
}

void TMain::filterTextsChanged()
{
    FileList.update();
    EditFilterChange();
}

} // namespace twinfold
