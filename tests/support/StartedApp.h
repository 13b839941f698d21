#pragma once

#include "app/Application.h"
#include "support/ScriptedServices.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

namespace twinfold::test
{

// An application started as the program starts: from a working directory "work", with its
// configuration directory "config", and "src" and "dst" beside them. The start-up makes the
// configuration directory the process's current directory; the fixture restores it.
class StartedAppFixture : public ::testing::Test
{
protected:
    StartedAppFixture();
    ~StartedAppFixture() override;

    std::string work(const std::string& relative = {}) const { return under("work", relative); }
    std::string config(const std::string& relative = {}) const { return under("config", relative); }
    std::string src(const std::string& relative = {}) const { return under("src", relative); }
    std::string dst(const std::string& relative = {}) const { return under("dst", relative); }

    std::string settingsFile() const { return config("tfoldw.ini"); }
    void writeSettings(const std::string& contents) const;
    std::string settingsText() const;

    // Creates the application in the working directory and runs the start-up.
    void start(std::optional<std::string> batchFile = std::nullopt);
    // The main window becoming active, as the front end routes it.
    bool activate();
    // From now on every message box and modal window that closes activates the main window.
    void activateAfterModals();
    // The names the file list shows, in order.
    std::vector<std::string> listed() const;
    // A handler run as the front end runs a main-window command; false when an error was shown.
    bool run(const std::function<void()>& handler);

    TMain& main() { return app->Main; }

    TempDir tmp;
    ScriptedServices ui;
    std::unique_ptr<Application> app;

private:
    std::string under(const std::string& top, const std::string& relative) const;
    std::string m_savedDirectory;
};

} // namespace twinfold::test
