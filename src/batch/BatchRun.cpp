// Batch runs: each settings file of a batch file loaded in turn and synchronised.
#include "batch/BatchRun.h"

#include "batch/BatchFile.h"
#include "batch/BatchWindow.h"
#include "controls/Controls.h"
#include "controls/DirectoryView.h"
#include "engine/DirectoryFailure.h"
#include "platform/FileSystem.h"
#include "platform/PathRules.h"
#include "platform/ScopeExit.h"
#include "platform/Windowing.h"
#include "settings/FilterText.h"
#include "settings/Options.h"
#include "settings/SettingsStorage.h"
#include "settings/SyncSettings.h"

#include <unordered_map>

namespace twinfold
{

BatchRun::BatchRun(WindowingServices& services, BatchWindow& window, SyncSettings& settings,
                   TOptionsbx& options)
    : m_services(services), m_window(window), m_settings(settings), m_options(options)
{
}

bool BatchRun::checkJob(const std::string& entry, const StoredSettings& job)
{
    const std::string& source = job.SourceDir;
    const std::string& dest = job.DestDir;
    if (source == "Invalid" || dest == "Invalid") {
        m_services.information(nullptr,
                               "The ini file: " + entry + " is invalid...process will be skipped!");
        return false;
    }
    // A value cut at the read limit may name another directory: it is never used.
    if (job.SourceDirCut || job.DestDirCut || source.empty() || dest.empty() ||
        !((directoryExists(source) && directoryExists(dest)) || endsWithSeparator(source) ||
          endsWithSeparator(dest))) {
        m_services.information(nullptr, "The source: " + recordedPath(source) +
                                            " or dest: " + recordedPath(dest) +
                                            " dir is invalid...process will be skipped!");
        return false;
    }
    return true;
}

void BatchRun::showJobDirectory(DirectoryView& view, const std::string& directory)
{
    try {
        view.setDirectory(directory);
    } catch (const DirectoryFailure&) {
        throw;
    } catch (const IoError& failure) {
        throw DirectoryFailure(failure, DirectoryAction::Enter, directory);
    }
}

void BatchRun::ExecuteBatch(const std::string& path)
{
    // A batch started at a poll of another batch's run would interleave the two.
    if (m_running) {
        m_services.showMessage(nullptr, "A batch file is already running.");
        return;
    }
    // BatchMode and the running flag hold for the whole batch, however it ends.
    m_window.setBatchMode(true);
    m_running = true;
    const ScopeExit ended([this] {
        m_window.setBatchMode(false);
        m_running = false;
    });
    m_skipped = 0;
    m_settings.BatchDir = path;
    for (const std::string& entry : ReadBatchFile(path)) {
        const StoredSettings job = readBatchEntry(entry);
        const bool run = checkJob(entry, job);
        if (!run)
            ++m_skipped;

        // The job's options are loaded whether it runs or not.
        m_window.fileTypeBox().setItemIndex(job.Filetype);
        m_window.syncAllBox().setChecked(job.SyncAll);
        m_settings.Exclude = job.Exclude;
        m_settings.Include = job.Include;
        m_settings.CopyBuffer = job.CopyBuffer;
        m_window.showCopyBufferSize(m_settings.CopyBuffer);
        m_options.showTimeShift(job.TimeShift);
        m_options.showJobs(job.Jobs);
        m_options.loadFilterLists();

        if (!run)
            continue;
        // A directory let through by its trailing separator may not exist: the failure ends
        // the whole batch and reaches the general error report.
        showJobDirectory(m_window.sourceView(), job.SourceDir);
        showJobDirectory(m_window.destinationView(), job.DestDir);
        m_window.applyFileType();
        m_window.selectAllBox().setChecked(job.SelectAll);
        m_window.sync();
    }
}

} // namespace twinfold
