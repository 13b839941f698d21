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
    m_runDestination = m_window.destinationView().directory();
    m_volume = {};
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
    m_caseNames.startDirectory();

    int done = 0;
    for (int i = 0; i < files.count(); ++i) {
        m_syncBox.ModalResult = TSyncBox::mrRun;
        m_services.processPendingEvents();
        if (m_syncBox.ModalResult == TSyncBox::mrCancel) {
            tellVolumeTrouble();
            m_services.showMessage(nullptr, "Operation Canceled!");
            return;
        }
        if (i >= files.count())
            continue;
        if (!files.selected(i)) {
            m_caseNames.note(files.item(i));
            continue;
        }
        files.setItemIndex(i);
        processFile(source, destination, files.item(i));
        m_syncBox.Gauge.setProgress(++done);
    }
    tellVolumeTrouble();
    // A dry run synchronised nothing, so it has no success to report.
    if (const RunChoices choices = m_window.runChoices(); !choices.batchMode && !choices.dryRun)
        m_services.showMessage(nullptr, "File Sync Successful!");
    m_syncBox.Close();
}

void SyncRun::runSyncAll()
{
    if (m_window.sourceFiles().selectedCount() > 0 &&
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
    tellVolumeTrouble();
    const RunChoices choices = m_window.runChoices();
    if (m_syncBox.ModalResult == TSyncBox::mrRun) {
        if (!choices.batchMode && !choices.dryRun)
            m_services.showMessage(nullptr, "Directory Sync Successful!");
    } else if (m_syncBox.ModalResult == TSyncBox::mrCancel) {
        m_services.showMessage(nullptr, "Operation Canceled!");
    }
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

void SyncRun::passOver(const DirectoryFailure& failure, int destinationError)
{
    m_volume.failed(destinationError);
    if (!m_window.runChoices().keepGoing) {
        tellVolumeTrouble();
        throw failure;
    }
    m_log.AddFailure(failure.path(), failure.what());
    m_syncBox.directoryPassedOver.emit(failure.path(), failure.what());
}

void SyncRun::processFile(const CopyDirectory& source, const CopyDirectory& destination,
                          const std::string& name)
{
    const std::string sourcePath = joinPath(source.path, name);
    if (const auto takenBy = m_caseNames.collisionOf(destination, name)) {
        refuseCaseCollision(sourcePath, joinPath(destination.path, name), *takenBy);
        return;
    }
    const auto sourceStatus = statusAt(source.fd, source.entry(name), true);
    // Looked up once: the copy judges from the same status whether the destination changed.
    const auto destStatus = statusAt(destination.fd, destination.entry(name), false);
    m_syncBox.FileName.setText(name);
    std::int64_t bytes = 0;
    if (sourceIsNewer(sourceStatus, destStatus)) {
        m_syncBox.setFileStatus("Copying", sourcePath);
        // Read at each copy, not at each file: a no-op run of many files never needs them.
        const RunChoices choices = m_window.runChoices();
        CopyOutcome outcome{true, 0, false, {}};
        if (!choices.dryRun)
            outcome = copyFileAt(m_services, source, destination, name, choices.autoContinue,
                                 choices.copyBuffer, choices.fsync, &destStatus);
        bytes = outcome.bytes;
        if (outcome.copied)
            m_volume.copied();
        else if (!outcome.destinationKept)
            m_volume.failed(outcome.destinationError);
        // A destination that became newer while the copy was made is kept, as one the
        // newer-than rule leaves alone.
        if (outcome.copied || outcome.destinationKept)
            m_log.AddLog(outcome.copied ? m_log.FileSuccess : m_log.FileOld, sourcePath);
        else
            m_log.AddFailure(sourcePath, outcome.failure);
    } else {
        m_syncBox.setFileStatus("Skipping", sourcePath);
        m_log.AddLog(m_log.FileOld, sourcePath);
    }
    m_syncBox.fileDone.emit(bytes);
}

} // namespace twinfold

namespace twinfold
{

void SyncRun::refuseCaseCollision(const std::string& sourcePath, const std::string& destinationFile,
                                  const std::string& takenBy)
{
    // A copy the run would make, refused before it starts: it is shown and logged as a failed
    // copy, whether the newer-than rule would have copied it or not, since either way the
    // destination cannot hold it.
    m_syncBox.FileName.setText(extractFileName(sourcePath));
    m_syncBox.setFileStatus("Copying", sourcePath);
    const std::string text = caseCollisionMessage(destinationFile, takenBy);
    if (!m_window.runChoices().autoContinue)
        m_services.showMessage(nullptr, text);
    m_log.AddFailure(sourcePath, text);
    m_syncBox.fileDone.emit(0);
}

CopyDirectory SyncRun::mirroredSite(const std::string& sourceDir) const
{
    const std::string& sourceRoot = m_window.sourceRoot();
    return {m_runDestRoot, mirroredDirectory(sourceRoot, sourceDir, m_runDestination),
            relativeBelow(sourceRoot, sourceDir)};
}

void SyncRun::refuseDirectoryCollision(const std::string& sourcePath, const std::string& takenBy)
{
    // Passed over with its subtree and logged as failed, like a directory that cannot be made;
    // the run goes on, since nothing is wrong with the rest of the tree.
    const std::string destination = mirroredSite(sourcePath).path;
    const std::string text = "Could not make destination directory: " + destination +
                             " (the destination ignores letter case and takes it for " + takenBy +
                             ").  Directory not copied!";
    if (!m_window.runChoices().autoContinue)
        m_services.showMessage(nullptr, text);
    m_log.AddFailure(sourcePath, text);
}

void SyncRun::tellVolumeTrouble()
{
    // Through the run's messages like its last one, and like that one also in a batch run and
    // with auto-continue: it is one line for the whole run, not one for each failed file.
    if (const auto notice = m_volume.notice(m_runDestination))
        m_services.showMessage(nullptr, *notice);
}

} // namespace twinfold
