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
#include "platform/Windowing.h"

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
    FileListBox& files = m_window.sourceFiles();
    const bool dryRun = m_window.runChoices().dryRun;
    const std::string& sourceRoot = m_window.sourceRoot();
    const std::string destRoot = destinationView.directory();
    const std::string sourceDir = view.directory();
    const std::string mirrored = mirroredDirectory(sourceRoot, sourceDir, destRoot);

    // The same directory, reached from the run's open roots.
    const std::string relative = relativeBelow(sourceRoot, sourceDir);
    const auto openMirrored = [&] { return openDirectoryBelow(m_runDestRoot, relative, mirrored); };

    std::string passDest;
    OpenedDirectory destination = openMirrored();
    bool made = false;
    // Whether the directory had to be made: a failure then is one of making it.
    bool making = destination.missing();
    if (destination.missing() && !dryRun) {
        // Looked up only for a subscriber: an initial mirror makes every directory.
        const bool told = m_syncBox.directoryMade.subscriberCount() > 0;
        const auto levels = told ? missingLevels(mirrored) : std::vector<std::string>{};
        made = createDirectoryTree(mirrored);
        destination = openMirrored();
        for (const std::string& level : levels)
            if (directoryExists(level))
                m_syncBox.directoryMade.emit(level);
    }
    if (destination.isOpen()) {
        destinationView.moveTo(mirrored);
        passDest = destinationView.directory();
        // A directory made just now holds no leftovers of killed runs.
        if (!dryRun && !made)
            removeLeftoverTemporaries(destination.handle);
    } else if (dryRun && destination.missing()) {
        // Nothing is made in a dry run: every file of a missing directory would be copied.
        // Each missing level is told at its own pass, where a real run makes a deep directory
        // with its missing parents at once.
        passDest = mirrored;
        m_syncBox.directoryMade.emit(mirrored);
    } else {
        // A directory that can be neither made nor entered (a file stands in its place, access
        // refused) abandons the run, or with keep-going is passed over: its files must never
        // land anywhere else.
        const IoError cause(destination.error);
        making = making || isNotDirectory(destination.error);
        // A directory that a read-only volume could not make is reported by the failure to
        // enter it ("File not found"); the run's own line says why.
        const bool readOnly =
            making && m_runDestRoot >= 0 && fileServices().readOnlyVolume(m_runDestRoot).value;
        passOver(DirectoryFailure(cause, making ? DirectoryAction::Make : DirectoryAction::Enter,
                                  mirrored),
                 readOnly ? readOnlyVolumeError() : destination.error);
        return;
    }
    // Every file is looked up from the open directories rather than by its full path.
    const CopyDirectory sourceSite = m_runSourceRoot >= 0
                                         ? CopyDirectory{m_runSourceRoot, sourceDir, relative}
                                         : CopyDirectory{currentDirectoryHandle(), sourceDir, {}};
    const CopyDirectory destinationSite{destination.handle.fd(), passDest, {}, made};
    m_syncBox.startPass(sourceDir, passDest);
    m_caseNames.startDirectory();

    int done = 0;
    for (int i = 0; i < files.count(); ++i) {
        m_syncBox.ModalResult = TSyncBox::mrRun;
        m_services.processPendingEvents();
        if (m_syncBox.ModalResult == TSyncBox::mrCancel)
            break;
        if (i >= files.count())
            break;
        files.setItemIndex(i);
        processFile(sourceSite, destinationSite, files.item(i));
        m_syncBox.Gauge.setProgress(++done);
        m_syncBox.SetFocus();
    }
    // Back where it stood a moment ago.
    destinationView.moveTo(destRoot);
}

} // namespace twinfold
