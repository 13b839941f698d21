#include "RunAttention.h"

#include "app/Application.h"

#include <QApplication>
#include <QEvent>
#include <QMessageBox>

#ifdef TWINFOLD_HAVE_DBUS
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#endif

namespace twinfold
{

namespace
{

std::size_t grownBy(std::size_t now, std::size_t before)
{
    // The log may have been cleared during the run.
    return now > before ? now - before : 0;
}

} // namespace

RunAttention::RunAttention(Application& app, QWidget& mainView)
    : QObject(&mainView), m_box(app.SyncBox), m_log(app.LogFilebx), m_mainView(mainView)
{
    m_connections.push_back(m_box.runStarted.connect([this] { started(); }));
    m_connections.push_back(m_box.runFinished.connect([this](RunEnd end) {
        if (!m_told)
            ended(QString::fromLatin1(end == RunEnd::Completed   ? "Sync finished."
                                      : end == RunEnd::Cancelled ? "Operation Canceled!"
                                                                 : "Sync stopped by a failure."));
        m_running.invalidate();
    }));
    qApp->installEventFilter(this);
}

void RunAttention::started()
{
    m_running.start();
    m_told = false;
    m_copiedBefore = m_log.FileSuccess.size();
    m_oldBefore = m_log.FileOld.size();
    m_failedBefore = m_log.FileFailed.size();
}

bool RunAttention::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && m_box.running && !m_told) {
        if (auto* box = qobject_cast<QMessageBox*>(watched))
            ended(box->text());
    }
    return false;
}

QString RunAttention::counts() const
{
    return QStringLiteral("%1 copied, %2 not copied, %3 failed.")
        .arg(grownBy(m_log.FileSuccess.size(), m_copiedBefore))
        .arg(grownBy(m_log.FileOld.size(), m_oldBefore))
        .arg(grownBy(m_log.FileFailed.size(), m_failedBefore));
}

void RunAttention::ended(const QString& outcome)
{
    if (!m_running.isValid() || m_running.elapsed() < LongRunMs)
        return;
    m_told = true;
    if (QGuiApplication::applicationState() == Qt::ApplicationActive)
        return;
    QApplication::alert(&m_mainView);
    notifyDesktop(outcome, counts());
}

void notifyDesktop(const QString& summary, const QString& body)
{
#ifdef TWINFOLD_HAVE_DBUS
    // Without a session bus of its own the session has no notifications; asking for the bus
    // then could start one.
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return;
    const QString service = QStringLiteral("org.freedesktop.Notifications");
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface() || !bus.interface()->isServiceRegistered(service))
        return;
    QDBusMessage notify =
        QDBusMessage::createMethodCall(service, QStringLiteral("/org/freedesktop/Notifications"),
                                       service, QStringLiteral("Notify"));
    notify << QStringLiteral("Twinfold") << 0u << QStringLiteral("twinfold") << summary << body
           << QStringList() << QVariantMap() << -1;
    // Sent without waiting for the answer: a slow notification service never holds up the
    // program.
    bus.send(notify);
#else
    Q_UNUSED(summary);
    Q_UNUSED(body);
#endif
}

} // namespace twinfold
