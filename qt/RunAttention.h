#pragma once

#include "platform/Signal.h"

#include <QElapsedTimer>
#include <QObject>

#include <array>
#include <cstddef>
#include <vector>

class QWidget;

namespace twinfold
{

class Application;
class TLogFilebx;
class TSyncBox;

// A long run that ends while the user works in another program's window draws them back: the
// program asks the desktop for attention and, where the desktop shows notifications, shows
// one with the outcome. A run's end is the first box it puts up (its closing message, or a
// failure it waits on) or, with no box (a batch run), the run's own end.
class RunAttention : public QObject
{
public:
    RunAttention(Application& app, QWidget& mainView);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ended(const QString& outcome);

    TSyncBox& m_box;
    TLogFilebx& m_log;
    QWidget& m_mainView;
    QElapsedTimer m_running;
    bool m_told = false;
    // The lengths of the log's three lists when the run started.
    std::array<std::size_t, 3> m_logBefore{};
    std::vector<Connection> m_connections;
};

} // namespace twinfold
