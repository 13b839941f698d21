#pragma once

#include "platform/Signal.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>

namespace twinfold
{

class TSyncBox;

// Draws a widget from its model at once, except while a run is in progress: a run changes the
// main window for every directory and file it reaches, far faster than anyone can read, and
// drawing each change would cost a run of small files more than its copying. Then the widget
// is drawn at most every 50 ms, and once more when the run ends, so that it always settles on
// the model's last state. The drawing reads the model when it runs, never a change's argument.
class ThrottledDraw : public QObject
{
public:
    ThrottledDraw(TSyncBox& run, std::function<void()> draw, QObject* parent);

    void request();
    // A draw is waiting: the widget does not show the model's state yet, so a finer change
    // (a row inserted, a selection) must wait for it rather than be applied to the stale rows.
    bool pending() const { return m_timer.isActive(); }

private:
    void drawNow();

    const TSyncBox& m_run;
    std::function<void()> m_draw;
    QTimer m_timer;
    QElapsedTimer m_lastDrawn;
    Connection m_runFinished;
};

} // namespace twinfold
