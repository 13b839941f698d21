#pragma once

#include "app/Application.h"
#include "support/ScriptedServices.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace twinfold::test
{

// An application over a temporary tree with "src" and "dst" directories, the source and
// destination views set to them, and a scripted user.
class AppFixture : public ::testing::Test
{
protected:
    AppFixture();

    std::string src(const std::string& relative = {}) const;
    std::string dst(const std::string& relative = {}) const;

    // Points the views at src and dst again (after files were added) and applies "All files".
    void showSource(const std::string& relativeSource = {});
    void selectAll();
    // Runs the Sync command as the front end dispatches it; false when an error was reported.
    bool sync();

    TempDir tmp;
    ScriptedServices ui;
    std::unique_ptr<Application> app;
};

// Seconds of a fixed, even local time in 2024, so that the two-second step is predictable.
std::int64_t evenTime(int offsetSeconds = 0);

} // namespace twinfold::test
