#pragma once

#include "platform/Signal.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <vector>

class QWidget;

namespace twinfold
{

class Application;
class SyncBoxView;
class TSyncBox;
class ThrottledDraw;

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
    void draw();

    Application& m_app;
    TSyncBox& m_box;
    SyncBoxView& m_view;
    QWidget* m_over;
    // The model changes once per file, far more often than anyone can read: the window is
    // drawn as often as the throttle lets it, and at once when it shows and when the run ends.
    ThrottledDraw* m_drawing;
    QElapsedTimer m_sinceRaised;
    QTimer m_hidePending;
    std::vector<Connection> m_connections;
};

} // namespace twinfold
