#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <map>

namespace twinfold
{

// Remembers for each window the control that last had the keyboard focus, passing over the
// menu bar and the menus, which hold it only while they are worked from the keyboard. A modal
// window that closes gives the focus back to that control of its owner.
class FocusMemory : public QObject
{
public:
    FocusMemory();

    void giveBack(QWidget* owner);

private:
    std::map<const QWidget*, QPointer<QWidget>> m_last;
};

} // namespace twinfold
