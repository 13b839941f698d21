// The Sync command: selected-files mode and Sync All mode.
#include "engine/SyncRun.h"

#include "controls/DirectoryView.h"
#include "controls/FileListBox.h"
#include "engine/BufferedCopy.h"
#include "engine/DirectoryFailure.h"
#include "engine/LogFile.h"
#include "engine/NewerThan.h"
#include "engine/RunWindow.h"
#include "engine/SyncBox.h"
#include "engine/TemporaryFile.h"
#include "platform/DirectoryEntries.h"
#include "platform/PathRules.h"
#include "platform/ScopeExit.h"
#include "platform/Windowing.h"

#include <utility>

namespace twinfold
{

SyncRun::SyncRun(WindowingServices& services, RunWindow& window, TSyncBox& syncBox, TLogFilebx& log)
    : m_services(services), m_window(window), m_syncBox(syncBox), m_log(log)
{
}

void SyncRun::run()
{
    // The run lets the interface process events between files; a Sync command given then
    // would start a second run inside the first.
    if (m_syncBox.running)
        return;
    m_syncBox.ModalResult = TSyncBox::mrRun;
    // A run is in progress for its whole length, however it ends.
    m_syncBox.running = true;
    m_syncBox.runStarted.emit();
    RunEnd end = RunEnd::Abandoned;
    const ScopeExit ended([&] {
        m_syncBox.running = false;
        m_window.runEnded();
        m_syncBox.runFinished.emit(end);
    });
    if (m_window.syncAllChecked())
        runSyncAll();
    else
        runSelectedFiles();
    end = m_syncBox.ModalResult == TSyncBox::mrCancel ? RunEnd::Cancelled : RunEnd::Completed;
}

void SyncRun::runSelectedFiles()
{
    FileListBox& files = m_window.sourceFiles();
    const int selectedCount = files.selectedCount();
    if (selectedCount == 0) {
        m_services.showMessage(nullptr, "No items selected to sync!");
        return;
    }
    const std::string sourceDir = m_window.sourceView().directory();
    const std::string destDir = m_window.destinationView().directory();
    m_syncBox.Gauge.setMaxValue(selectedCount);
    m_syncBox.Gauge.setMinValue(0);
    m_syncBox.Gauge.setProgress(0);
    m_syncBox.startPass(sourceDir, destDir);
    m_syncBox.Show();
    // Both directories stay open for the run: every file is looked up from them.
    const FileHandle sourceHandle = openDirectoryBase(sourceDir);
    const FileHandle destHandle = openDirectoryBase(destDir);
    if (!m_window.runChoices().dryRun)
        removeLeftoverTemporaries(destDir);
    const CopyDirectory source{sourceHandle.fd(), sourceDir, {}};
    const CopyDirectory destination{destHandle.fd(), destDir, {}};

    int done = 0;
    for (int i = 0; i < files.count(); ++i) {
        m_syncBox.ModalResult = TSyncBox::mrRun;
        m_services.processPendingEvents();
        if (m_syncBox.ModalResult == TSyncBox::mrCancel) {
            m_services.showMessage(nullptr, "Operation Canceled!");
            return;
        }
        if (i >= files.count() || !files.selected(i))
            continue;
        files.setItemIndex(i);
        processFile(source, destination, files.item(i));
        m_syncBox.Gauge.setProgress(++done);
    }
    if (!m_window.runChoices().batchMode)
        m_services.showMessage(nullptr, "File Sync Successful!");
    m_syncBox.Close();
}

void SyncRun::runSyncAll()
{
    if (m_window.runChoices().askBeforeSyncAll && m_window.sourceFiles().selectedCount() > 0 &&
        !m_services.warningYesNo(nullptr,
                                 "You have files selected and Sync All is checked. All files will "
                                 "be copied...Do you wish to continue?"))
        return;
    DirectoryView& sourceView = m_window.sourceView();
    const std::string sourceRoot = sourceView.directory();
    m_window.setSourceRoot(sourceRoot);
    const std::string destRoot = m_window.destinationView().directory();
    const FileHandle sourceRootHandle = openDirectoryBase(sourceRoot);
    const FileHandle destinationRootHandle = openDirectoryBase(destRoot);
    m_runSourceRoot = sourceRootHandle.fd();
    m_runDestRoot = destinationRootHandle.fd();
    const ScopeExit rootsClosed([this] { m_runSourceRoot = m_runDestRoot = -1; });
    try {
        // A run always covers the source directory's tree: an entry of the view that is merely
        // highlighted (a subdirectory, or an ancestor whose files have no mirrored place below
        // the destination) does not change what is synchronised.
        // The view may have been read long before: the walk starts from the tree as it is now.
        sourceView.update();
        sourceView.setItemIndex(sourceView.directoryPosition());
        Traverse(sourceView);
    } catch (...) {
        m_syncBox.Close();
        restoreViewsAfterFailure(sourceRoot, destRoot);
        throw;
    }
    m_syncBox.Close();
    sourceView.setDirectory(sourceRoot);
    if (!m_window.runChoices().batchMode && m_syncBox.ModalResult == TSyncBox::mrRun)
        m_services.showMessage(nullptr, "Directory Sync Successful!");
    else if (m_syncBox.ModalResult == TSyncBox::mrCancel)
        m_services.showMessage(nullptr, "Operation Canceled!");
}

void SyncRun::restoreViewsAfterFailure(const std::string& source, const std::string& destination)
{
    // Best effort: the failure being reported matters more than one of these.
    try {
        m_window.sourceView().setDirectory(source);
    } catch (const std::exception&) {
    }
    try {
        m_window.destinationView().setDirectory(destination);
    } catch (const std::exception&) {
    }
}

void SyncRun::passOver(const DirectoryFailure& failure)
{
    if (!m_window.runChoices().keepGoing)
        throw failure;
    m_log.AddFailure(failure.path(), failure.what());
    m_syncBox.directoryPassedOver.emit(failure.path(), failure.what());
}

void SyncRun::processFile(const CopyDirectory& source, const CopyDirectory& destination,
                          const std::string& name)
{
    const std::string sourcePath = joinPath(source.path, name);
    const auto sourceStatus = statusAt(source.fd, source.entry(name), true);
    // Looked up once: the copy judges from the same status whether the destination changed.
    const auto destStatus = statusAt(destination.fd, destination.entry(name), false);
    m_syncBox.FileName.setText(name);
    std::int64_t bytes = 0;
    FileReason reason = FileReason::OlderOrSame;
    std::string failure;
    if (sourceIsNewer(sourceStatus, destStatus)) {
        reason = destStatus ? FileReason::Newer : FileReason::New;
        m_syncBox.setFileStatus("Copying", sourcePath);
        // Read at each copy, not at each file: a no-op run of many files never needs them.
        const RunChoices choices = m_window.runChoices();
        CopyOutcome outcome{true, 0, false, {}};
        if (!choices.dryRun)
            outcome = copyFileAt(m_services, source, destination, name, choices.autoContinue,
                                 choices.copyBuffer, choices.fsync, &destStatus);
        bytes = outcome.bytes;
        // A destination that became newer while the copy was made is kept, as one the
        // newer-than rule leaves alone.
        if (outcome.copied || outcome.destinationKept)
            m_log.AddLog(outcome.copied ? m_log.FileSuccess : m_log.FileOld, sourcePath);
        else
            m_log.AddFailure(sourcePath, outcome.failure);
        if (!outcome.copied) {
            reason = outcome.destinationKept ? FileReason::OlderOrSame : FileReason::Failed;
            failure = std::move(outcome.failure);
        }
    } else {
        m_syncBox.setFileStatus("Skipping", sourcePath);
        m_log.AddLog(m_log.FileOld, sourcePath);
    }
    m_syncBox.fileResult.emit(
        FileResult{sourcePath, reason, sourceStatus ? sourceStatus->size : 0, failure});
    m_syncBox.fileDone.emit(bytes);
}

} // namespace twinfold
