// The Sync command: selected-files mode and Sync All mode.
#include "engine/BufferedCopy.h"
#include "engine/LogFile.h"
#include "engine/NewerThan.h"
#include "engine/SyncBox.h"
#include "engine/TemporaryFile.h"
#include "platform/DirectoryEntries.h"
#include "platform/PathRules.h"
#include "platform/ScopeExit.h"
#include "platform/Windowing.h"
#include "settings/SyncSettings.h"
#include "ui/Main.h"

namespace twinfold
{

void TMain::SyncBtnClick()
{
    // The run lets the interface process events between files; a Sync command given then
    // would start a second run inside the first.
    if (runInProgress())
        return;
    m_syncBox.ModalResult = TSyncBox::mrRun;
    // A run is in progress for its whole length, however it ends.
    m_syncBox.running = true;
    m_syncBox.filesDone = 0;
    m_syncBox.bytesCopied = 0;
    const ScopeExit ended([this] {
        m_syncBox.running = false;
        runEnded();
    });
    if (SyncAll.checked())
        runSyncAll();
    else
        runSelectedFiles();
}

void TMain::runSelectedFiles()
{
    const int selectedCount = FileList.selectedCount();
    if (selectedCount == 0) {
        m_services.showMessage("No items selected to sync!");
        return;
    }
    const std::string sourceDir = SourceDirListBox.directory();
    const std::string destDir = DestDirListBox.directory();
    m_syncBox.Gauge.setMaxValue(selectedCount);
    m_syncBox.Gauge.setMinValue(0);
    m_syncBox.Gauge.setProgress(0);
    m_syncBox.SyncDirFrom.setText(sourceDir);
    m_syncBox.SyncDirTo.setText(destDir);
    m_syncBox.Show();
    // Both directories stay open for the run: every file is looked up from them.
    const FileHandle sourceHandle = openDirectoryBase(sourceDir);
    const FileHandle destHandle = openDirectoryBase(destDir);
    if (!dryRun)
        removeLeftoverTemporaries(destDir);
    const CopyDirectory source{sourceHandle.fd(), sourceDir, {}};
    const CopyDirectory destination{destHandle.fd(), destDir, {}};

    int done = 0;
    for (int i = 0; i < FileList.count(); ++i) {
        m_syncBox.ModalResult = TSyncBox::mrRun;
        m_services.processPendingEvents();
        if (m_syncBox.ModalResult == TSyncBox::mrCancel) {
            m_services.showMessage("Operation Canceled!");
            return;
        }
        if (i >= FileList.count() || !FileList.selected(i))
            continue;
        FileList.setItemIndex(i);
        processFile(source, destination, FileList.item(i));
        m_syncBox.Gauge.setProgress(++done);
    }
    if (!BatchMode)
        m_services.showMessage("File Sync Successful!");
    m_syncBox.Close();
}

void TMain::runSyncAll()
{
    if (FileList.selectedCount() > 0 &&
        !m_services.warningYesNo("You have files selected and Sync All is checked. All files will "
                                 "be copied...Do you wish to continue?"))
        return;
    SourceRoot = SourceDirListBox.directory();
    const std::string destRoot = DestDirListBox.directory();
    const FileHandle sourceRoot = openDirectoryBase(SourceRoot);
    const FileHandle destinationRoot = openDirectoryBase(destRoot);
    m_runSourceRoot = sourceRoot.fd();
    m_runDestRoot = destinationRoot.fd();
    const ScopeExit rootsClosed([this] { m_runSourceRoot = m_runDestRoot = -1; });
    try {
        // A run always covers the source directory's tree: an entry of the view that is merely
        // highlighted (a subdirectory, or an ancestor whose files have no mirrored place below
        // the destination) does not change what is synchronised.
        // The view may have been read long before: the walk starts from the tree as it is now.
        SourceDirListBox.update();
        SourceDirListBox.setItemIndex(SourceDirListBox.directoryPosition());
        Traverse(SourceDirListBox);
    } catch (...) {
        m_syncBox.Close();
        restoreViewsAfterFailure(SourceRoot, destRoot);
        throw;
    }
    m_syncBox.Close();
    SourceDirListBox.setDirectory(SourceRoot);
    if (!BatchMode && m_syncBox.ModalResult == TSyncBox::mrRun)
        m_services.showMessage("Directory Sync Successful!");
    else if (m_syncBox.ModalResult == TSyncBox::mrCancel)
        m_services.showMessage("Operation Canceled!");
}

void TMain::restoreViewsAfterFailure(const std::string& source, const std::string& destination)
{
    // Best effort: the failure being reported matters more than one of these.
    try {
        SourceDirListBox.setDirectory(source);
    } catch (const std::exception&) {
    }
    try {
        DestDirListBox.setDirectory(destination);
    } catch (const std::exception&) {
    }
}

void TMain::processFile(const CopyDirectory& source, const CopyDirectory& destination,
                        const std::string& name)
{
    const std::string sourcePath = joinPath(source.path, name);
    const TimeValue age = sourceAgeAt(source.fd, source.entry(name));
    const TimeValue destTime = destinationTimeAt(destination.fd, destination.entry(name));
    m_syncBox.FileName.setText(name);
    if (shouldCopy(destTime, age)) {
        m_syncBox.setFileStatus("Copying", sourcePath);
        CopyOutcome outcome{true, 0};
        if (!dryRun)
            outcome = copyFileAt(m_services, source, destination, name, m_settings.AutoContinue,
                                 m_settings.CopyBuffer, m_settings.Fsync);
        m_syncBox.bytesCopied += outcome.bytes;
        m_log.AddLog(outcome.copied            ? m_log.FileSuccess
                     : outcome.destinationKept ? m_log.FileOld
                                               : m_log.FileFailed,
                     sourcePath);
    } else {
        m_syncBox.setFileStatus("Skipping", sourcePath);
        m_log.AddLog(m_log.FileOld, sourcePath);
    }
    ++m_syncBox.filesDone;
}

} // namespace twinfold
