// The Sync command and batch runs, handed on to the run and the batch run; the batch editor.
#include "batch/Batch.h"
#include "engine/LogFile.h"
#include "engine/SyncBox.h"
#include "platform/ScopeExit.h"
#include "settings/SyncSettings.h"
#include "ui/Main.h"
#include "ui/Preview.h"

namespace twinfold
{

void TMain::SyncBtnClick()
{
    m_run.run();
}

void TMain::Preview1Click()
{
    if (runInProgress())
        return;
    TPreview& preview = m_app.Preview;
    m_previewing = true;
    const ScopeExit previewEnded([this] { m_previewing = false; });
    bool compared = false;
    {
        std::vector<Connection> following =
            preview.follow(m_syncBox, SourceDirListBox.directory(), DestDirListBox.directory());
        following.push_back(m_syncBox.passStarted.connect(
            [&compared](const std::string&, const std::string&) { compared = true; }));
        // The same run as the Sync command's, dry: what it logs stays out of the user's log.
        TLogFilebx unseen(m_services);
        SyncRun(m_services, *this, m_syncBox, unseen).run();
    }
    // Nothing selected, or cancelled: the run has said so, and there is nothing to show.
    if (!compared || m_syncBox.ModalResult == TSyncBox::mrCancel)
        return;
    preview.finish();
    m_services.showModal(preview);
    m_previewing = false;
    if (preview.syncChosen())
        SyncBtnClick();
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
    RunChoices choices{BatchMode,
                       dryRun,
                       m_settings.AutoContinue,
                       m_settings.CopyBuffer,
                       m_settings.Fsync,
                       keepGoing,
                       timeShiftForAll.value_or(m_settings.TimeShift),
                       jobsForAll.value_or(m_settings.Jobs)};
    if (m_previewing) {
        // A preview changes nothing, asks nothing and reports through its own window.
        choices.dryRun = true;
        choices.batchMode = true;
        choices.askBeforeSyncAll = false;
    }
    return choices;
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
