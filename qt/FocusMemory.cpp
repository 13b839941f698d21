#include "FocusMemory.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>

namespace twinfold
{

FocusMemory::FocusMemory()
{
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && !qobject_cast<QMenuBar*>(now) && !qobject_cast<QMenu*>(now))
            m_last[now->window()] = now;
    });
}

void FocusMemory::giveBack(QWidget* owner)
{
    // A window manager would activate the owner when a modal window closes; without one (a
    // bare X server, a kiosk session) the keys would go nowhere, so it is asked for.
    if (!owner || !owner->isVisible())
        return;
    QWidget* window = owner->window();
    window->activateWindow();
    const auto found = m_last.find(window);
    if (found == m_last.end())
        return;
    // Given to an inactive window, the focus waits there until the window is active.
    if (QWidget* control = found->second;
        control && control->window() == window && control->isVisible() && control->isEnabled())
        control->setFocus(Qt::ActiveWindowFocusReason);
}

} // namespace twinfold
