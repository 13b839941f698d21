// The directory pass: one source directory against its mirrored destination directory.
#include "engine/BufferedCopy.h"
#include "engine/SyncBox.h"
#include "engine/TemporaryFile.h"
#include "platform/DirectoryEntries.h"
#include "platform/ErrorText.h"
#include "platform/FileSystem.h"
#include "platform/PathRules.h"
#include "platform/Windowing.h"
#include "ui/Main.h"

#include <cerrno>
#include <fcntl.h>

namespace twinfold
{

namespace
{

// A directory's path below a root it lies in, without a leading separator; empty for the root.
std::string relativeBelow(const std::string& root, const std::string& dir)
{
    if (dir.size() <= root.size())
        return {};
    std::string relative = dir.substr(root.size());
    if (!relative.empty() && relative.front() == NativeSeparator)
        relative.erase(0, 1);
    return relative;
}

} // namespace

void TMain::SyncAllFiles(DirectoryView& view)
{
    const std::string destRoot = DestDirListBox.directory();
    const std::string sourceDir = view.directory();
    const std::string mirrored = mirroredDirectory(SourceRoot, sourceDir, destRoot);

    // The same directory, reached from the run's open roots.
    const std::string relative = relativeBelow(SourceRoot, sourceDir);
    const auto openMirrored = [&] {
        if (m_runDestRoot < 0)
            return openDirectory(mirrored);
        return openDirectoryAt(m_runDestRoot, relative);
    };

    std::string passDest;
    auto opened = openMirrored();
    bool made = false;
    if (opened.error == ENOENT && !dryRun) {
        made = createDirectoryTree(mirrored);
        opened = openMirrored();
    }
    const FileHandle destination = std::move(opened.value);
    const int error = opened.error;
    if (destination.isOpen()) {
        DestDirListBox.moveTo(mirrored);
        passDest = DestDirListBox.directory();
        // A directory made just now holds no leftovers of killed runs.
        if (!dryRun && !made)
            removeLeftoverTemporaries(destination);
    } else if (dryRun && error == ENOENT) {
        // Nothing is made in a dry run: every file of a missing directory would be copied.
        passDest = mirrored;
    } else {
        // A directory that can be neither made nor entered (a file stands in its place, access
        // refused) abandons the run: its files must never land anywhere else.
        throw IoError(error);
    }
    // Every file is looked up from the open directories rather than by its full path.
    const CopyDirectory sourceSite = m_runSourceRoot >= 0
                                         ? CopyDirectory{m_runSourceRoot, sourceDir, relative}
                                         : CopyDirectory{AT_FDCWD, sourceDir, {}};
    const CopyDirectory destinationSite{destination.fd(), passDest, {}};
    m_syncBox.SyncDirFrom.setText(sourceDir);
    m_syncBox.SyncDirTo.setText(passDest);

    int done = 0;
    for (int i = 0; i < FileList.count(); ++i) {
        m_syncBox.ModalResult = TSyncBox::mrRun;
        m_services.processPendingEvents();
        if (m_syncBox.ModalResult == TSyncBox::mrCancel)
            break;
        if (i >= FileList.count())
            break;
        FileList.setItemIndex(i);
        processFile(sourceSite, destinationSite, FileList.item(i));
        m_syncBox.Gauge.setProgress(++done);
        m_syncBox.SetFocus();
    }
    // Back where it stood a moment ago.
    DestDirListBox.moveTo(destRoot);
}

} // namespace twinfold
