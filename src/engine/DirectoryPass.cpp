// The directory pass: one source directory against its mirrored destination directory.
#include "controls/DirectoryView.h"
#include "controls/FileListBox.h"
#include "engine/BufferedCopy.h"
#include "engine/DirectoryFailure.h"
#include "engine/RunWindow.h"
#include "engine/SyncBox.h"
#include "engine/SyncRun.h"
#include "engine/TemporaryFile.h"
#include "platform/DirectoryTree.h"
#include "platform/ErrorText.h"
#include "platform/FileServices.h"
#include "platform/FileSystem.h"
#include "platform/PathRules.h"
#include "platform/ScopeExit.h"
#include "platform/Windowing.h"

#include <algorithm>
#include <vector>

namespace twinfold
{

std::string SyncRun::relativeBelow(const std::string& root, const std::string& dir)
{
    if (dir.size() <= root.size())
        return {};
    std::string relative = dir.substr(root.size());
    if (!relative.empty() && relative.front() == NativeSeparator)
        relative.erase(0, 1);
    return relative;
}

namespace
{

// The levels of a directory that do not exist yet, from the top down.
std::vector<std::string> missingLevels(const std::string& dir)
{
    std::vector<std::string> levels;
    for (std::string level = dir; !level.empty() && !isRootPath(level) && !directoryExists(level);
         level = parentPath(level)) {
        levels.insert(levels.begin(), level);
        if (parentPath(level) == level)
            break;
    }
    return levels;
}

} // namespace

void SyncRun::SyncAllFiles(DirectoryView& view)
{
    DirectoryView& destinationView = m_window.destinationView();
    const std::string destRoot = destinationView.directory();
    const std::string sourceDir = view.directory();
    const std::optional<PassDestination> destination = enterMirrored(sourceDir, destRoot);
    if (!destination)
        return;
    m_syncBox.startPass(sourceDir, destination->path);
    passFiles(sourceSite(sourceDir),
              {destination->directory.handle.fd(), destination->path, {}, destination->made});
    // Back where it stood a moment ago.
    destinationView.moveTo(destRoot);
}

std::optional<SyncRun::PassDestination> SyncRun::enterMirrored(const std::string& sourceDir,
                                                               const std::string& destRoot)
{
    const bool dryRun = m_window.runChoices().dryRun;
    const std::string& sourceRoot = m_window.sourceRoot();
    const std::string mirrored = mirroredDirectory(sourceRoot, sourceDir, destRoot);
    // The same directory, reached from the run's open roots.
    const std::string relative = relativeBelow(sourceRoot, sourceDir);
    const auto openMirrored = [&] { return openDirectoryBelow(m_runDestRoot, relative, mirrored); };

    std::optional<MirroredReadAhead::Entered> ahead;
    if (m_mirroredAhead)
        ahead = m_mirroredAhead->take(relative);
    OpenedDirectory destination = ahead ? std::move(ahead->directory) : openMirrored();
    bool made = false;
    // Whether the directory had to be made: a failure then is one of making it.
    const bool making = destination.missing();
    if (destination.missing() && !dryRun) {
        made = makeMirrored(mirrored);
        destination = openMirrored();
    }
    if (destination.isOpen()) {
        DirectoryView& destinationView = m_window.destinationView();
        destinationView.moveTo(mirrored);
        // A directory made just now holds no leftovers of killed runs.
        if (ahead)
            removeLeftoverTemporaries(destination.handle.fd(), ahead->leftovers);
        else if (!dryRun && !made)
            removeLeftoverTemporaries(destination.handle);
        return PassDestination{std::move(destination), destinationView.directory(), made};
    }
    if (dryRun && destination.missing()) {
        // Nothing is made in a dry run: every file of a missing directory would be copied.
        // Each missing level is told at its own pass, where a real run makes a deep directory
        // with its missing parents at once.
        m_syncBox.directoryMade.emit(mirrored);
        return PassDestination{std::move(destination), mirrored, false};
    }
    passOverMirrored(destination.error, making, mirrored);
    return std::nullopt;
}

bool SyncRun::makeMirrored(const std::string& mirrored)
{
    // Looked up only for a subscriber: an initial mirror makes every directory.
    const bool told = m_syncBox.directoryMade.subscriberCount() > 0;
    const auto levels = told ? missingLevels(mirrored) : std::vector<std::string>{};
    const bool made = createDirectoryTree(mirrored);
    for (const std::string& level : levels)
        if (directoryExists(level))
            m_syncBox.directoryMade.emit(level);
    return made;
}

void SyncRun::passOverMirrored(int error, bool making, const std::string& mirrored)
{
    // A directory that can be neither made nor entered (a file stands in its place, access
    // refused) abandons the run, or with keep-going is passed over: its files must never land
    // anywhere else.
    making = making || isNotDirectory(error);
    // A directory that a read-only volume could not make is reported by the failure to enter it
    // ("File not found"); the run's own line says why.
    const bool readOnly =
        making && m_runDestRoot >= 0 && fileServices().readOnlyVolume(m_runDestRoot).value;
    passOver(DirectoryFailure(IoError(error),
                              making ? DirectoryAction::Make : DirectoryAction::Enter, mirrored),
             readOnly ? readOnlyVolumeError() : error);
}

CopyDirectory SyncRun::sourceSite(const std::string& sourceDir) const
{
    // Every file is looked up from the open directories rather than by its full path.
    if (m_runSourceRoot >= 0)
        return {m_runSourceRoot, sourceDir, relativeBelow(m_window.sourceRoot(), sourceDir)};
    return {currentDirectoryHandle(), sourceDir, {}};
}

void SyncRun::passFiles(const CopyDirectory& source, const CopyDirectory& destination)
{
    FileListBox& files = m_window.sourceFiles();
    m_caseNames.startDirectory();
    ListReadAhead ahead(readAhead(), files, false, source, destination);
    // Whatever was made ahead and not taken goes before the directories close.
    const ScopeExit copiesDropped([this] { copyAhead().clear(); });
    int nextCopy = 0;
    int done = 0;
    for (int i = 0; i < files.count(); ++i) {
        if (cancelledAt(Poll::File) || i >= files.count())
            break;
        files.setItemIndex(i);
        ahead.at(i);
        copyAheadFrom(i, nextCopy, ahead, source, destination, false);
        processFile(source, destination, files.item(i));
        m_syncBox.Gauge.setProgress(++done);
        m_syncBox.SetFocus();
    }
}

void SyncRun::copyAheadFrom(int index, int& next, const ListReadAhead& ahead,
                            const CopyDirectory& source, const CopyDirectory& destination,
                            bool selectedOnly)
{
    CopyAhead& copies = copyAhead();
    if (!copies.active())
        return;
    const FileListBox& files = m_window.sourceFiles();
    // The list may have changed at a poll; what no longer matches is simply not taken.
    const int last = std::min(files.count() - 1, index + static_cast<int>(copies.window()));
    next = std::max(next, index + 1);
    if (next > last)
        return;
    const RunChoices choices = m_window.runChoices();
    if (choices.dryRun)
        return;
    const CopyRequest request{.copyBuffer = choices.copyBuffer, .durable = choices.fsync};
    for (; next <= last; ++next) {
        if (selectedOnly && !files.selected(next))
            continue;
        // Where the pass made the directory every file is copied. Elsewhere only the files
        // that the statuses read ahead show missing or older at the destination: a copy made
        // for nothing costs more than the lookups it would spare.
        const auto foresight = destination.madeForPass
                                   ? ListReadAhead::Foresight::Copied
                                   : ahead.foresee(next, m_settingHours * SecondsPerHour);
        if (foresight == ListReadAhead::Foresight::NotYetKnown)
            break;
        if (foresight == ListReadAhead::Foresight::Copied &&
            !copies.request(source, destination, files.item(next), request))
            break;
    }
}

} // namespace twinfold
