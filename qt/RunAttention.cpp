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

// Shorter runs are watched to their end anyway.
constexpr qint64 LongRunMs = 5000;

std::array<std::size_t, 3> logLengths(const TLogFilebx& log)
{
    return {log.FileSuccess.size(), log.FileOld.size(), log.FileFailed.size()};
}

// Shows a desktop notification where the session offers the standard notification service;
// does nothing elsewhere.
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

} // namespace

RunAttention::RunAttention(Application& app, QWidget& mainView)
    : QObject(&mainView), m_box(app.SyncBox), m_log(app.LogFilebx), m_mainView(mainView)
{
    m_connections.push_back(m_box.runStarted.connect([this] {
        m_running.start();
        m_told = false;
        m_logBefore = logLengths(m_log);
    }));
    m_connections.push_back(m_box.runFinished.connect([this](RunEnd end) {
        if (!m_told)
            ended(QString::fromLatin1(end == RunEnd::Completed   ? "Sync finished."
                                      : end == RunEnd::Cancelled ? "Operation Canceled!"
                                                                 : "Sync stopped by a failure."));
        m_running.invalidate();
    }));
    qApp->installEventFilter(this);
}

bool RunAttention::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && m_box.running && !m_told) {
        if (auto* box = qobject_cast<QMessageBox*>(watched))
            ended(box->text());
    }
    return false;
}

void RunAttention::ended(const QString& outcome)
{
    if (!m_running.isValid() || m_running.elapsed() < LongRunMs)
        return;
    m_told = true;
    if (QGuiApplication::applicationState() == Qt::ApplicationActive)
        return;
    QApplication::alert(&m_mainView);
    // The log may have been cleared during the run.
    const std::array<std::size_t, 3> now = logLengths(m_log);
    auto grown = [&](std::size_t list) {
        return now[list] > m_logBefore[list] ? now[list] - m_logBefore[list] : 0;
    };
    notifyDesktop(outcome, QStringLiteral("%1 copied, %2 not copied, %3 failed.")
                               .arg(grown(0))
                               .arg(grown(1))
                               .arg(grown(2)));
}

} // namespace twinfold
