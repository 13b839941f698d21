// The subdirectory walk: depth-first, post-order, with the source view as its cursor.
#include "engine/RunWindow.h"
#include "engine/SyncBox.h"
#include "engine/SyncRun.h"
#include "platform/Windowing.h"
#include "controls/DirectoryView.h"
#include "controls/FileListBox.h"

namespace twinfold
{

void SyncRun::Traverse(DirectoryView& view)
{
    view.openCurrent();
    const int position = view.directoryPosition();
    const int first = position + 1;
    const int last = view.count() - 1;
    for (int p = first; p <= last; ++p) {
        m_services.processPendingEvents();
        if (m_syncBox.ModalResult == TSyncBox::mrCancel)
            return;
        // The child's walk ends with the view back here, its listing read afresh; a
        // subdirectory removed meanwhile only shortens the walk.
        if (p < view.count()) {
            view.setItemIndex(p);
            Traverse(view);
        }
    }
    m_services.processPendingEvents();
    if (m_syncBox.ModalResult == TSyncBox::mrCancel)
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

} // namespace twinfold
