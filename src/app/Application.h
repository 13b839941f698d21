#pragma once

#include "engine/LogFile.h"
#include "engine/SyncBox.h"
#include "settings/SyncSettings.h"
#include "ui/Main.h"

#include <functional>

namespace twinfold {

class WindowingServices;

// The program's windows, each created once and living as long as the program; a front end
// makes one instance and routes its events to the windows' handlers through command().
class Application {
public:
    explicit Application(WindowingServices& services);
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    WindowingServices& services() { return m_services; }

    SyncSettings Settings;
    TMain Main;
    TSyncBox SyncBox;
    TLogFilebx LogFilebx;

    // Runs one command. A failure that the command does not handle ends it and is shown in the
    // general error report; false then.
    bool command(const std::function<void()>& handler);

    // A command of the main window. While a run is in progress the main window's commands are
    // kept out (the run processes events between files, and a second run, a change of
    // directory or of the file list would disturb it); such a command is ignored.
    bool mainCommand(const std::function<void()>& handler);

private:
    WindowingServices& m_services;
};

} // namespace twinfold
