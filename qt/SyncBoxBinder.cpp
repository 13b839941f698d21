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

void follow(std::vector<Connection>& connections, Label& model, QLabel* label)
{
    label->setText(qs(model.text()));
    connections.push_back(
        model.textChanged.connect([label](const std::string& text) { label->setText(qs(text)); }));
}

} // namespace

SyncBoxBinder::SyncBoxBinder(Application& app, SyncBoxView& view, QWidget* over)
    : QObject(&view), m_app(app), m_box(app.SyncBox), m_view(view), m_over(over)
{
    follow(m_connections, m_box.SyncDirFrom, view.SyncDirFrom);
    follow(m_connections, m_box.SyncDirTo, view.SyncDirTo);
    follow(m_connections, m_box.FileName, view.FileName);
    follow(m_connections, m_box.Process, view.Process);
    // The bar shows the model's own percentage, so that its rounding is the designed one.
    view.Gauge->setRange(0, 100);
    auto percent = [this] { m_view.Gauge->setValue(m_box.Gauge.percentDone()); };
    percent();
    m_connections.push_back(m_box.Gauge.progressChanged.connect([percent](int) { percent(); }));
    m_connections.push_back(m_box.Gauge.rangeChanged.connect([percent](int, int) { percent(); }));
    m_connections.push_back(m_box.shown.connect([this] { showOver(); }));
    m_connections.push_back(m_box.closed.connect([this] { m_view.hide(); }));
    m_box.onFocus = [this] { m_view.raise(); };
    connect(view.Cancel, &QPushButton::clicked, this,
            [this] { m_app.command([this] { m_box.requestCancel(); }); });
    view.installEventFilter(this);
    if (m_box.visible())
        showOver();
}

void SyncBoxBinder::showOver()
{
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
