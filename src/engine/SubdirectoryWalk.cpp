// The subdirectory walk: depth-first, post-order, with the source view as its cursor.
#include "controls/DirectoryView.h"
#include "controls/FileListBox.h"
#include "engine/BufferedCopy.h"
#include "engine/CaseCollisions.h"
#include "engine/DirectoryFailure.h"
#include "engine/RunWindow.h"
#include "engine/SyncBox.h"
#include "engine/SyncRun.h"
#include "platform/PathRules.h"
#include "platform/Windowing.h"

#include <algorithm>

namespace twinfold
{

bool SyncRun::enterCurrent(DirectoryView& view)
{
    const std::string parent = view.directory();
    const std::string target = view.entryPath(view.itemIndex());
    try {
        view.openCurrent();
        return true;
    } catch (const DirectoryFailure&) {
        throw;
    } catch (const IoError& failure) {
        // The run's own root was checked when it started; failing now, nothing is left to do.
        if (target == m_window.sourceRoot())
            throw DirectoryFailure(failure, DirectoryAction::Enter, target);
        passOver(DirectoryFailure(failure, DirectoryAction::Enter, target));
    }
    // The walk goes on from the parent, wherever the failed move left the view.
    if (view.directory() != parent)
        view.setDirectory(parent);
    return false;
}

void SyncRun::Traverse(DirectoryView& view)
{
    if (!enterCurrent(view))
        return;
    const int position = view.directoryPosition();
    const int first = position + 1;
    const int last = view.count() - 1;
    // Subdirectories differing only in case would share one mirrored directory on a
    // destination that ignores case, their files written over each other's.
    CaseCollisions subdirectories;
    const CopyDirectory mirrored = mirroredSite(view.directory());
    for (int p = first; p <= last; ++p) {
        if (cancelledAt(Poll::Walk))
            return;
        // The child's walk ends with the view back here, its listing read afresh; a
        // subdirectory removed meanwhile only shortens the walk.
        if (p < view.count()) {
            const std::string subdirectory = view.entryPath(p);
            if (const auto takenBy =
                    subdirectories.collisionOf(mirrored, extractFileName(subdirectory))) {
                refuseDirectoryCollision(subdirectory, *takenBy);
                continue;
            }
            enterAhead(view, p);
            view.setItemIndex(p);
            Traverse(view);
        }
    }
    if (cancelledAt(Poll::Walk))
        return;
    m_syncBox.Gauge.setMaxValue(m_window.sourceFiles().count());
    m_syncBox.Gauge.setMinValue(0);
    m_syncBox.Gauge.setProgress(0);
    m_syncBox.Show();
    SyncAllFiles(view);
    if (position > 0) {
        view.setItemIndex(position - 1);
        view.openCurrent();
    }
}

void SyncRun::enterAhead(const DirectoryView& view, int next)
{
    constexpr int Ahead = 4;
    const int last = std::min(view.count() - 1, next + Ahead - 1);
    // The walk enters the next subdirectory at once: only the ones after it gain from being
    // listed ahead.
    if (m_listingAhead && m_listingAhead->active() &&
        readAhead().waits(StatusReadAhead::Side::Source)) {
        for (int p = next + 1; p <= last; ++p)
            m_listingAhead->request(view.entryPath(p));
    }
    if (!m_mirroredAhead || !m_mirroredAhead->active() ||
        !readAhead().waits(StatusReadAhead::Side::Destination))
        return;
    const std::string& sourceRoot = m_window.sourceRoot();
    // The passes come deepest first: the subdirectories from this one on are the next to need
    // theirs, this directory's own is needed once they are all done.
    for (int p = next; p <= last; ++p)
        m_mirroredAhead->request(relativeBelow(sourceRoot, view.entryPath(p)));
    // Not held for longer than the last few subdirectories' walks: the longer a directory is
    // held open, the likelier it is to be taken away meanwhile.
    if (last == view.count() - 1)
        m_mirroredAhead->request(relativeBelow(sourceRoot, view.directory()));
}

} // namespace twinfold
