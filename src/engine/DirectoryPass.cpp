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

// Makes a directory and every missing level above it; true when it made the directory itself.
// A level that cannot be made is not reported here: entering the directory afterwards is.
bool makeDirectoryTree(std::string path)
{
    if (path.size() > 1 && endsWithSeparator(path))
        path.pop_back();
    if (path.empty() || isRootPath(path) || directoryExists(path))
        return false;
    makeDirectoryTree(parentPath(path));
    return createDirectory(path);
}

} // namespace

void TMain::SyncAllFiles(DirectoryView& view)
{
    const std::string destRoot = DestDirListBox.directory();
    const std::string sourceDir = view.directory();
    const std::string mirrored = mirroredDirectory(SourceRoot, sourceDir, destRoot);

    std::string passDest;
    FileHandle destination = openDirectory(mirrored);
    bool made = false;
    if (!destination.isOpen() && errno == ENOENT && !dryRun) {
        made = makeDirectoryTree(mirrored);
        destination = openDirectory(mirrored);
    }
    if (destination.isOpen()) {
        DestDirListBox.moveTo(mirrored);
        passDest = DestDirListBox.directory();
        // A directory made just now holds no leftovers of killed runs.
        if (!dryRun && !made)
            removeLeftoverTemporaries(destination);
    } else if (dryRun && errno == ENOENT) {
        // Nothing is made in a dry run: every file of a missing directory would be copied.
        passDest = mirrored;
    } else {
        // A directory that can be neither made nor entered (a file stands in its place, access
        // refused) abandons the run: its files must never land anywhere else.
        throw IoError(errno);
    }
    // Both directories stay open for the pass, and every file is looked up from them rather
    // than by its full path. Opening the source directory pays off only from a few files on.
    constexpr int FilesWorthOpening = 4;
    const FileHandle sourceHandle =
        FileList.count() >= FilesWorthOpening ? openDirectoryBase(sourceDir) : FileHandle();
    const CopyDirectory sourceSite{sourceHandle.isOpen() ? sourceHandle.fd() : AT_FDCWD, sourceDir};
    const CopyDirectory destinationSite{destination.fd(), passDest};
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
