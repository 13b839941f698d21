#pragma once

#include "platform/Signal.h"

#include <QObject>

#include <vector>

namespace twinfold
{

class Application;
class LogFileView;
class TLogFilebx;

// Shows the log's three lists in the log window and hands its buttons to TLogFilebx.
class LogFileBinder : public QObject
{
public:
    LogFileBinder(Application& app, LogFileView& view);

private:
    void refill();

    Application& m_app;
    TLogFilebx& m_log;
    LogFileView& m_view;
    std::vector<Connection> m_connections;
};

} // namespace twinfold
