#include "SyncBoxBinder.h"

#include "SyncBoxView.h"
#include "ThrottledDraw.h"

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
    m_drawing = new ThrottledDraw(
        m_box, [this] { draw(); }, this);
    for (Label* label : {&m_box.SyncDirFrom, &m_box.SyncDirTo, &m_box.FileName, &m_box.Process})
        m_connections.push_back(
            label->textChanged.connect([this](const std::string&) { m_drawing->request(); }));
    m_connections.push_back(
        m_box.Gauge.progressChanged.connect([this](int) { m_drawing->request(); }));
    m_connections.push_back(
        m_box.Gauge.rangeChanged.connect([this](int, int) { m_drawing->request(); }));
    m_connections.push_back(m_box.runFinished.connect([this](RunEnd) {
        draw();
        if (!m_box.visible())
            m_view.hide();
    }));
    draw();
    // A Sync All closes and shows the window again for every directory. Unmapping and mapping
    // it each time would cost a run of small directories more than its copying, so between the
    // passes of a run the window stays up unless it stays closed for a while.
    m_hidePending.setSingleShot(true);
    m_hidePending.setInterval(DrawInterval);
    connect(&m_hidePending, &QTimer::timeout, this, [this] {
        if (!m_box.visible())
            m_view.hide();
    });
    m_connections.push_back(m_box.shown.connect([this] { showOver(); }));
    m_connections.push_back(m_box.closed.connect([this] {
        if (m_box.running)
            m_hidePending.start();
        else
            m_view.hide();
    }));
    // The run asks for the focus after every file; raising the window is a request to the
    // display, and one per file would cost a run of small files more than its copying.
    m_connections.push_back(m_box.focusRequested.connect([this] {
        if (m_sinceRaised.isValid() && m_sinceRaised.elapsed() < DrawInterval)
            return;
        m_sinceRaised.start();
        m_view.raise();
    }));
    connect(view.Cancel, &QPushButton::clicked, this,
            [this] { m_app.command([this] { m_box.requestCancel(); }); });
    view.installEventFilter(this);
    if (m_box.visible())
        showOver();
}

void SyncBoxBinder::draw()
{
    m_view.SyncDirFrom->setPath(qs(m_box.SyncDirFrom.text()));
    m_view.SyncDirTo->setPath(qs(m_box.SyncDirTo.text()));
    m_view.FileName->setPath(qs(m_box.FileName.text()));
    m_view.Process->setText(qs(m_box.Process.text()));
    m_view.Gauge->setValue(m_box.Gauge.percentDone());
}

void SyncBoxBinder::showOver()
{
    m_hidePending.stop();
    if (m_view.isVisible()) {
        // Still up from the previous pass: placed, raised and focused already.
        m_drawing->request();
        return;
    }
    draw();
    m_view.adjustSize();
    const QRect area = m_over && m_over->isVisible() ? m_over->frameGeometry()
                                                     : m_view.screen()->availableGeometry();
    m_view.move(area.center() - m_view.rect().center());
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
