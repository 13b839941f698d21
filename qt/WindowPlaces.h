#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <map>

namespace twinfold
{

// Where the user left the program's windows, and how large, kept between starts in a small
// state file of its own: the settings files hold a job's inputs and keep their designed keys.
class WindowPlaces : public QObject
{
public:
    explicit WindowPlaces(QString file, QObject* parent = nullptr);
    // Whatever is still on screen when the program ends is kept as it is then.
    ~WindowPlaces() override;

    // $XDG_STATE_HOME/twinfold/windows.ini, by default under ~/.local/state.
    static QString defaultFile();

    // Puts the window where it was left at the last start, if anywhere, and keeps where it is
    // left from now on, under the given name.
    void keep(QWidget& window, const QString& name);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void store(QWidget& window, const QString& name);

    QString m_file;
    std::map<QObject*, std::pair<QPointer<QWidget>, QString>> m_windows;
};

} // namespace twinfold
