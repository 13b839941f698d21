#include "WindowPlaces.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QSettings>

#include <utility>

namespace twinfold
{

WindowPlaces::WindowPlaces(QString file, QObject* parent) : QObject(parent), m_file(std::move(file))
{
}

WindowPlaces::~WindowPlaces()
{
    for (const auto& [object, window] : m_windows) {
        if (window.first && window.first->isVisible())
            store(*window.first, window.second);
    }
}

QString WindowPlaces::defaultFile()
{
    // A relative value is not a base directory at all and is ignored, as with every XDG one.
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/twinfold/windows.ini");
}

void WindowPlaces::keep(QWidget& window, const QString& name)
{
    m_windows[&window] = {&window, name};
    const QSettings state(m_file, QSettings::IniFormat);
    const QByteArray geometry = state.value(name + QStringLiteral("/geometry")).toByteArray();
    // A place off every screen of today (a monitor unplugged) is brought back onto one.
    if (!geometry.isEmpty())
        window.restoreGeometry(geometry);
    window.installEventFilter(this);
}

bool WindowPlaces::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Hide || event->type() == QEvent::Close) {
        const auto found = m_windows.find(watched);
        if (found != m_windows.end() && found->second.first)
            store(*found->second.first, found->second.second);
    }
    return false;
}

void WindowPlaces::store(QWidget& window, const QString& name)
{
    // Only a window that has been on screen has a place of its own.
    if (!window.testAttribute(Qt::WA_WState_Created))
        return;
    QDir().mkpath(QFileInfo(m_file).absolutePath());
    QSettings state(m_file, QSettings::IniFormat);
    state.setValue(name + QStringLiteral("/geometry"), window.saveGeometry());
}

} // namespace twinfold
