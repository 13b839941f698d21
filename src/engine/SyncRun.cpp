// The Sync command: selected-files mode and Sync All mode.
#include "engine/SyncRun.h"

#include "controls/DirectoryView.h"
#include "controls/FileListBox.h"
#include "engine/BufferedCopy.h"
#include "engine/CopyPolls.h"
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

namespace
{

// Whether a compensation the run may still decide on would copy the file: its destination reads
// newer than the source, by less than the hours a destination can read late. A pair that stands
// exactly whole hours apart never is: its own shift leaves it equal, and it rules out any other.
// Cheap arithmetic first, the rule only for the few that pass it.
bool mayReadLate(const std::optional<FileStatus>& source,
                 const std::optional<FileStatus>& destination)
{
    if (!source || !destination)
        return false;
    const std::int64_t apart = destination->mtimeSeconds - source->mtimeSeconds;
    constexpr std::int64_t Most = TimeShiftEvidence::MaxHours * SecondsPerHour;
    if (apart < 2 || apart >= Most + 2)
        return false;
    for (int hours = 1; hours <= TimeShiftEvidence::MaxHours; ++hours) {
        if (inStep(apart, hours * SecondsPerHour))
            return false;
    }
    return sourceIsNewer(source, destination, Most);
}

} // namespace

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
    m_ahead.emplace(m_window.runChoices().jobs);
    m_copyAhead.emplace(m_window.runChoices().jobs);
    m_syncBox.runStarted.emit();
    m_runDestination = m_window.destinationView().directory();
    m_settingHours = m_window.runChoices().timeShift;
    m_compensatedHours = 0;
    m_evidence = {};
    m_heldBack.clear();
    m_filesEnded = false;
    m_timeNotKeptSaid = false;
    m_cancelledInCopy = false;
    RunEnd end = RunEnd::Abandoned;
    const ScopeExit ended([&] {
        // A run that a failure or a signal ended still logs every file it examined.
        try {
            endOfFiles(false);
        } catch (...) {
        }
        // Its workers are done before the run is said to be over.
        m_copyAhead.reset();
        m_ahead.reset();
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

bool SyncRun::cancelledAt(Poll poll)
{
    // Confirmed while a copy that was nearly done was finished: the state says so still.
    if (m_cancelledInCopy)
        return true;
    if (poll == Poll::File)
        m_syncBox.ModalResult = TSyncBox::mrRun;
    m_services.processPendingEvents();
    return m_syncBox.ModalResult == TSyncBox::mrCancel;
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
    ListReadAhead ahead(readAhead(), files, true, source, destination);
    // Whatever was made ahead and not taken goes before the directories close.
    const ScopeExit copiesDropped([this] { copyAhead().clear(); });
    int nextCopy = 0;
    int done = 0;
    for (int i = 0; i < files.count(); ++i) {
        if (cancelledAt(Poll::File)) {
            endOfFiles(false);
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
        ahead.at(i);
        copyAheadFrom(i, nextCopy, ahead, source, destination, true);
        processFile(source, destination, files.item(i));
        m_syncBox.Gauge.setProgress(++done);
    }
    endOfFiles(true);
    tellVolumeTrouble();
    // Confirmed during one of the copies that waited for the end of the run.
    if (m_cancelledInCopy) {
        m_services.showMessage(nullptr, "Operation Canceled!");
        return;
    }
    // A dry run synchronised nothing, so it has no success to report.
    if (const RunChoices choices = m_window.runChoices(); !choices.batchMode && !choices.dryRun)
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
    m_mirroredAhead.emplace(m_window.runChoices().jobs, m_runDestRoot,
                            !m_window.runChoices().dryRun);
    m_listingAhead.emplace(m_window.runChoices().jobs, sourceView.cache());
    // Its workers are done before the roots close.
    const ScopeExit aheadEnded([this] {
        m_listingAhead.reset();
        m_mirroredAhead.reset();
    });
    try {
        // A run always covers the source directory's tree: an entry of the view that is merely
        // highlighted (a subdirectory, or an ancestor whose files have no mirrored place below
        // the destination) does not change what is synchronised.
        // The view may have been read long before: the walk starts from the tree as it is now.
        sourceView.update();
        sourceView.setItemIndex(sourceView.directoryPosition());
        Traverse(sourceView);
        endOfFiles(m_syncBox.ModalResult != TSyncBox::mrCancel);
    } catch (...) {
        // Every file examined still ends in a list before the failure is reported.
        try {
            endOfFiles(false);
        } catch (...) {
        }
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
        copyAhead().drop(name);
        refuseCaseCollision(sourcePath, joinPath(destination.path, name), *takenBy);
        return;
    }
    // A status read ahead a moment ago is as good as one read now: the copy looks at the
    // destination again before it takes its place.
    const auto sourceStatus =
        readAhead().take(StatusReadAhead::Side::Source, source.fd, source.entry(name), true);
    // Looked up once: the copy judges from the same status whether the destination changed.
    // In a directory made for the pass it can only be missing (but for a name listed twice,
    // which follows itself), and the look, a round trip on a share, is spared: the copy never
    // installs over an entry that appears meanwhile without judging it.
    const bool mayStand = !destination.madeForPass || name == m_previousName;
    m_previousName = name;
    const auto destStatus = mayStand
                                ? readAhead().take(StatusReadAhead::Side::Destination,
                                                   destination.fd, destination.entry(name), false)
                                : std::nullopt;
    m_syncBox.FileName.setText(name);
    if (sourceStatus && destStatus && sourceStatus->regular && destStatus->regular)
        m_evidence.observe(*sourceStatus, *destStatus);
    const std::int64_t size = sourceStatus ? sourceStatus->size : 0;
    if (sourceIsNewer(sourceStatus, destStatus, m_settingHours * SecondsPerHour)) {
        const CopyOutcome outcome = copyOne(source, destination, name, destStatus, size);
        if (outcome.abandoned)
            return;
        fileEnded(sourcePath, copyReason(destStatus.has_value(), outcome), size, outcome);
        return;
    }
    copyAhead().drop(name);
    if (m_settingHours == 0 && mayReadLate(sourceStatus, destStatus)) {
        // Announced and logged when it is judged, at the end of the run.
        m_heldBack.push_back({source.path, destination.path, name, size});
    } else {
        skipOne(sourcePath);
        fileEnded(sourcePath, FileReason::OlderOrSame, size, {});
    }
}

StatusReadAhead& SyncRun::readAhead()
{
    if (!m_ahead)
        m_ahead.emplace(1);
    return *m_ahead;
}

CopyAhead& SyncRun::copyAhead()
{
    if (!m_copyAhead)
        m_copyAhead.emplace(1);
    return *m_copyAhead;
}

namespace
{

// The same file, unchanged, as far as its status tells.
bool sameSource(const FileStatus& copied, const std::optional<FileStatus>& now)
{
    return now && copied.inode == now->inode && copied.device == now->device &&
           copied.size == now->size && copied.mtimeSeconds == now->mtimeSeconds &&
           copied.mtimeNanoseconds == now->mtimeNanoseconds &&
           copied.ctimeSeconds == now->ctimeSeconds &&
           copied.ctimeNanoseconds == now->ctimeNanoseconds;
}

} // namespace

FileReason SyncRun::copyReason(bool destinationFound, const CopyOutcome& outcome)
{
    if (outcome.copied)
        return destinationFound ? FileReason::Newer : FileReason::New;
    return outcome.destinationKept ? FileReason::OlderOrSame : FileReason::Failed;
}

void SyncRun::fileEnded(const std::string& sourcePath, FileReason reason, std::int64_t size,
                        const CopyOutcome& outcome)
{
    m_syncBox.fileResult.emit(FileResult{sourcePath, reason, size, outcome.failure});
    m_syncBox.fileDone.emit(outcome.bytes);
}

CopyOutcome SyncRun::copyOne(const CopyDirectory& source, const CopyDirectory& destination,
                             const std::string& name, const std::optional<FileStatus>& destStatus,
                             std::int64_t size)
{
    const std::string sourcePath = joinPath(source.path, name);
    m_syncBox.setFileStatus("Copying", sourcePath);
    // Read at each copy, not at each file: a no-op run of many files never needs them.
    const RunChoices choices = m_window.runChoices();
    CopyOutcome outcome = CopyOutcome::copiedWith(0);
    if (!choices.dryRun) {
        CopyPolls polls(m_services, m_syncBox, [this] { return cancelledAt(Poll::Copy); });
        const CopyRequest request = CopyRequest{.quiet = choices.autoContinue,
                                                .copyBuffer = choices.copyBuffer,
                                                .durable = choices.fsync,
                                                .watcher = &polls}
                                        .knowing(destStatus);
        // A copy still being made ahead is waited for as one made here would be: Cancel
        // abandons it.
        std::optional<PreparedCopy> prepared =
            copyAhead().take(name, [&polls] { return polls.goOn(0, 0); });
        if (polls.cancelled()) {
            m_cancelledInCopy = true;
            return CopyOutcome::abandonedCopy();
        }
        // Made from a source that changed since: made again here, from the source as it is now,
        // as a copy made at this moment would be.
        if (prepared &&
            !sameSource(prepared->source, statusAt(source.fd, source.entry(name), true)))
            prepared.reset();
        if (!prepared)
            copyAhead().makeRoomFor(destination.fd, size);
        outcome = prepared
                      ? installCopyAt(m_services, source, destination, name, request, *prepared)
                      : copyFileAt(m_services, source, destination, name, request);
        prepared.reset();
        m_cancelledInCopy = m_cancelledInCopy || polls.cancelled();
    }
    // Given up at the user's Cancel: the run stops without having got to this file.
    if (outcome.abandoned)
        return outcome;
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
    // Said once: every copy into that file system would say the same.
    if (outcome.timeKept && !m_timeNotKeptSaid) {
        m_timeNotKeptSaid = true;
        m_services.notice(timeNotKeptNotice(m_runDestination, joinPath(destination.path, name),
                                            outcome.timeSet, *outcome.timeKept));
    }
    return outcome;
}

void SyncRun::skipOne(const std::string& sourcePath)
{
    m_syncBox.setFileStatus("Skipping", sourcePath);
    m_log.AddLog(m_log.FileOld, sourcePath);
}

void SyncRun::endOfFiles(bool mayCopy)
{
    if (m_filesEnded)
        return;
    m_filesEnded = true;
    settleHeldBack(mayCopy);
    sayTimeShifts();
}

void SyncRun::settleHeldBack(bool mayCopy)
{
    // Decided on the whole run's evidence, before any held-back file is judged by it.
    // A time shift the user set is the only one the run goes by.
    m_compensatedHours = mayCopy && m_settingHours == 0 ? m_evidence.unambiguousLateHours() : 0;
    const std::vector<HeldBack> heldBack = std::exchange(m_heldBack, {});
    for (const HeldBack& file : heldBack) {
        m_syncBox.FileName.setText(file.name);
        const std::string sourcePath = joinPath(file.sourceDir, file.name);
        std::optional<CopyOutcome> outcome;
        // After a Cancel confirmed during one of these copies the rest are only logged, as in
        // a run cancelled before them.
        if (m_compensatedHours != 0 && !m_cancelledInCopy)
            outcome = copyHeldBack(file);
        if (outcome && outcome->abandoned)
            continue;
        if (outcome) {
            // Held back only where the destination has a copy.
            fileEnded(sourcePath, copyReason(true, *outcome), file.size, *outcome);
        } else {
            skipOne(sourcePath);
            fileEnded(sourcePath, FileReason::OlderOrSame, file.size, {});
        }
    }
}

std::optional<CopyOutcome> SyncRun::copyHeldBack(const HeldBack& file)
{
    const FileHandle sourceHandle = openDirectoryBase(file.sourceDir);
    const FileHandle destHandle = openDirectoryBase(file.destinationDir);
    const CopyDirectory source{sourceHandle.fd(), file.sourceDir, {}};
    const CopyDirectory destination{destHandle.fd(), file.destinationDir, {}};
    // Looked at again: the file may have changed since.
    const auto destStatus = statusAt(destination.fd, file.name, false);
    if (!sourceIsNewer(statusAt(source.fd, file.name, true), destStatus,
                       m_compensatedHours * SecondsPerHour))
        return std::nullopt;
    return copyOne(source, destination, file.name, destStatus, file.size);
}

void SyncRun::sayTimeShifts()
{
    for (const int hours : {1, 2, -1, -2}) {
        const int files = m_evidence.shifted(hours);
        if (files == 0)
            continue;
        ShiftHandling handling =
            hours > 0 ? ShiftHandling::NotCompensated : ShiftHandling::CopiedAgain;
        if (hours == m_settingHours)
            handling = ShiftHandling::ByTheSetting;
        else if (hours == m_compensatedHours)
            handling = ShiftHandling::Compensated;
        const std::string text = timeShiftNotice(m_runDestination, hours, files, handling);
        // The user's own setting is no news: it is said, but not as a warning.
        if (handling == ShiftHandling::ByTheSetting)
            m_services.remark(text);
        else
            m_services.notice(text);
    }
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
    CopyOutcome refused;
    refused.failure = text;
    fileEnded(sourcePath, FileReason::Failed, 0, refused);
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
    // A notice, like the run's other findings about its destination: it waits for no answer,
    // also in a batch run and with auto-continue, and it is one line for the whole run.
    if (const auto notice = m_volume.notice(m_runDestination))
        m_services.notice(*notice);
}

} // namespace twinfold
