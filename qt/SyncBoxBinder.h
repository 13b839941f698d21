#pragma once

#include "platform/Signal.h"

#include <QObject>

#include <vector>

class QWidget;

namespace twinfold
{

class Application;
class SyncBoxView;
class TSyncBox;

// Draws a run as TSyncBox announces it and hands Cancel, Escape and the close box to it.
class SyncBoxBinder : public QObject
{
public:
    // `over` is the window the progress window is centred on.
    SyncBoxBinder(Application& app, SyncBoxView& view, QWidget* over);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showOver();

    Application& m_app;
    TSyncBox& m_box;
    SyncBoxView& m_view;
    QWidget* m_over;
    std::vector<Connection> m_connections;
};

} // namespace twinfold
