// Batch runs: each settings file of a batch file loaded in turn and synchronised.
#include "app/Application.h"
#include "batch/BatchFile.h"
#include "platform/FileSystem.h"
#include "platform/PathRules.h"
#include "platform/ScopeExit.h"
#include "settings/FilterText.h"
#include "settings/SettingsStorage.h"
#include "ui/Main.h"

namespace twinfold
{

void TMain::BatchFileEditor1Click()
{
    auto& editor = m_app.BatchDlg;
    editor.SDirList.setDirectory(SourceDirListBox.directory());
    editor.ClearBatchList();
    editor.BatchFileName = Untitled;
    editor.Caption = "Batch Editor (Untitled)";
    editor.Modified = false;
    editor.ShowModal();
    m_services.showModal("TBatchDlg");
}

void TMain::RunBatchFile1Click()
{
    const auto path = m_services.openFileDialog(m_app.BatchDlg.seeded(m_app.BatchDlg.Open));
    if (path)
        ExecuteBatch(*path);
}

void TMain::ExecuteBatch(const std::string& path)
{
    // A batch started at a poll of another batch's run would interleave the two.
    if (m_batchRunning) {
        m_services.showMessage("A batch file is already running.");
        return;
    }
    // BatchMode and the running flag hold for the whole batch, however it ends.
    BatchMode = true;
    m_batchRunning = true;
    const ScopeExit ended([this] { BatchMode = m_batchRunning = false; });
    batchSkipped = 0;
    m_settings.BatchDir = path;
    for (const std::string& entry : ReadBatchFile(path)) {
        const StoredSettings job = readBatchEntry(entry);
        const std::string& source = job.SourceDir;
        const std::string& dest = job.DestDir;
        bool run = false;
        if (source == "Invalid" || dest == "Invalid") {
            m_services.information("The ini file: " + entry +
                                   " is invalid...process will be skipped!");
        } else if (job.SourceDirCut || job.DestDirCut || source.empty() || dest.empty() ||
                   !((directoryExists(source) && directoryExists(dest)) ||
                     endsWithSeparator(source) || endsWithSeparator(dest))) {
            m_services.information("The source: " + recordedPath(source) +
                                   " or dest: " + recordedPath(dest) +
                                   " dir is invalid...process will be skipped!");
        } else {
            run = true;
        }
        if (!run)
            ++batchSkipped;

        // The job's options are loaded whether it runs or not.
        EditFilter.setItemIndex(job.Filetype);
        SyncAll.setChecked(job.SyncAll);
        const bool selectAll = job.SelectAll;
        m_settings.Exclude = job.Exclude;
        m_settings.Include = job.Include;
        m_settings.CopyBuffer = job.CopyBuffer;
        setChunkSizeForm(m_app.Optionsbx.CopyBuffer, m_settings.CopyBuffer);
        m_app.Optionsbx.loadFilterLists();

        if (!run)
            continue;
        // A directory let through by its trailing separator may not exist: the failure ends
        // the whole batch and reaches the general error report.
        SourceDirListBox.setDirectory(source);
        DestDirListBox.setDirectory(dest);
        EditFilterChange();
        cbSelectAll.setChecked(selectAll);
        SyncBtnClick();
    }
}

} // namespace twinfold
