#include "ThrottledDraw.h"

#include "engine/SyncBox.h"

namespace twinfold
{

namespace
{

constexpr qint64 IntervalMs = 50;

} // namespace

ThrottledDraw::ThrottledDraw(TSyncBox& run, std::function<void()> draw, QObject* parent)
    : QObject(parent), m_run(run), m_draw(std::move(draw))
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] { drawNow(); });
    m_runFinished = run.runFinished.connect([this](RunEnd) {
        if (m_timer.isActive())
            drawNow();
    });
}

void ThrottledDraw::request()
{
    if (!m_run.running) {
        drawNow();
        return;
    }
    if (m_timer.isActive())
        return;
    const qint64 since = m_lastDrawn.isValid() ? m_lastDrawn.elapsed() : IntervalMs;
    if (since >= IntervalMs)
        drawNow();
    else
        m_timer.start(static_cast<int>(IntervalMs - since));
}

void ThrottledDraw::drawNow()
{
    m_timer.stop();
    m_lastDrawn.start();
    m_draw();
}

} // namespace twinfold
