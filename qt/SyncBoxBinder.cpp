#include "SyncBoxBinder.h"

#include "SyncBoxView.h"

#include "app/Application.h"

#include <QKeyEvent>
#include <QScreen>

namespace twinfold
{

namespace
{

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

// Fast enough to look live, slow enough that drawing costs a run of small files nothing.
constexpr int DrawInterval = 50; // milliseconds

} // namespace

SyncBoxBinder::SyncBoxBinder(Application& app, SyncBoxView& view, QWidget* over)
    : QObject(&view), m_app(app), m_box(app.SyncBox), m_view(view), m_over(over)
{
    // The bar shows the model's own percentage, so that its rounding is the designed one.
    view.Gauge->setRange(0, 100);
    m_pending.setSingleShot(true);
    connect(&m_pending, &QTimer::timeout, this, [this] { draw(); });
    for (Label* label : {&m_box.SyncDirFrom, &m_box.SyncDirTo, &m_box.FileName, &m_box.Process})
        m_connections.push_back(
            label->textChanged.connect([this](const std::string&) { changed(); }));
    m_connections.push_back(m_box.Gauge.progressChanged.connect([this](int) { changed(); }));
    m_connections.push_back(m_box.Gauge.rangeChanged.connect([this](int, int) { changed(); }));
    m_connections.push_back(m_box.runFinished.connect([this](RunEnd) { draw(); }));
    draw();
    m_connections.push_back(m_box.shown.connect([this] { showOver(); }));
    m_connections.push_back(m_box.closed.connect([this] { m_view.hide(); }));
    m_box.onFocus = [this] { m_view.raise(); };
    connect(view.Cancel, &QPushButton::clicked, this,
            [this] { m_app.command([this] { m_box.requestCancel(); }); });
    view.installEventFilter(this);
    if (m_box.visible())
        showOver();
}

void SyncBoxBinder::changed()
{
    if (m_pending.isActive())
        return;
    const qint64 elapsed = m_sinceDrawn.isValid() ? m_sinceDrawn.elapsed() : DrawInterval;
    if (elapsed >= DrawInterval)
        draw();
    else
        m_pending.start(int(DrawInterval - elapsed));
}

void SyncBoxBinder::draw()
{
    m_pending.stop();
    m_sinceDrawn.start();
    m_view.SyncDirFrom->setPath(qs(m_box.SyncDirFrom.text()));
    m_view.SyncDirTo->setPath(qs(m_box.SyncDirTo.text()));
    m_view.FileName->setPath(qs(m_box.FileName.text()));
    m_view.Process->setText(qs(m_box.Process.text()));
    m_view.Gauge->setValue(m_box.Gauge.percentDone());
}

void SyncBoxBinder::showOver()
{
    draw();
    // A Sync All shows the window again for every directory; placing it once is enough.
    if (!m_view.isVisible()) {
        m_view.adjustSize();
        const QRect area = m_over && m_over->isVisible() ? m_over->frameGeometry()
                                                         : m_view.screen()->availableGeometry();
        m_view.move(area.center() - m_view.rect().center());
    }
    m_view.show();
    m_view.raise();
    m_view.Cancel->setFocus();
}

bool SyncBoxBinder::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &m_view)
        return false;
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        m_app.command([this] { m_box.requestCancel(); });
        return true;
    }
    if (event->type() == QEvent::Close) {
        // The window stays until the model closes it: during a run the close box asks first.
        event->ignore();
        m_app.command([this] { m_box.closeBoxClicked(); });
        return true;
    }
    return false;
}

} // namespace twinfold
