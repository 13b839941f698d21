#pragma once

#include "app/About.h"
#include "batch/Batch.h"
#include "engine/LogFile.h"
#include "engine/SyncBox.h"
#include "platform/DirectoryCache.h"
#include "settings/Options.h"
#include "settings/SyncSettings.h"
#include "ui/DelBox.h"
#include "ui/Main.h"
#include "ui/Preview.h"

#include <functional>
#include <optional>
#include <string>

namespace twinfold
{

class WindowingServices;

// How the program was started.
struct StartOptions {
    std::string configDir;                // empty: $XDG_CONFIG_HOME/twinfold or ~/.config/twinfold
    std::optional<std::string> batchFile; // the first command-line parameter
};

// The program's windows, each created once and living as long as the program; a front end
// makes one instance and routes its events to the windows' handlers through command().
class Application
{
public:
    explicit Application(WindowingServices& services);
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    WindowingServices& services() { return m_services; }

    // The start-up of the program: the configuration directory (made on a first start) becomes
    // the current directory, then the windows' creation handlers run in their order, loading
    // the default settings. A front end that runs without settings (twinfold-cli sync) skips it.
    void start(const StartOptions& options);

    SyncSettings Settings;
    // The directory listings every view reads through; made before the windows that hold views.
    DirectoryCache directoryCache;
    // The progress window and the log are constructed before the main window, which reads them
    // from its first moment, and so is the About box, which the main window knows only as a
    // window; start() still creates the windows in their designed order.
    TSyncBox SyncBox;
    TLogFilebx LogFilebx;
    TSpecialBox SpecialBox;
    TAboutBox AboutBox;
    TMain Main;
    TBatchDlg BatchDlg;
    TDelete Delete;
    TOptionsbx Optionsbx;
    TPreview Preview;

    // Runs one command. A failure that the command does not handle ends it and is shown in the
    // general error report; false then.
    bool command(const std::function<void()>& handler);

    // A command of the main window. While a run is in progress the main window's commands are
    // kept out (the run processes events between files, and a second run, a change of
    // directory or of the file list would disturb it); such a command is ignored.
    bool mainCommand(const std::function<void()>& handler);

    // The configuration directory the program uses when none is given.
    static std::string defaultConfigDir();

private:
    WindowingServices& m_services;
};

} // namespace twinfold
