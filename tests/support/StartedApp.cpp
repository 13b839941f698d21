#include "support/StartedApp.h"

#include "platform/FileSystem.h"

#include <unistd.h>

namespace twinfold::test
{

StartedAppFixture::StartedAppFixture() : m_savedDirectory(currentDirectory())
{
    for (const char* dir : {"work", "config", "src", "dst"})
        tmp.makeDir(dir);
    setCurrentDirectory(work());
}

StartedAppFixture::~StartedAppFixture()
{
    app.reset();
    if (::chdir(m_savedDirectory.c_str()) != 0)
        ADD_FAILURE() << "cannot return to " << m_savedDirectory;
}

std::string StartedAppFixture::under(const std::string& top, const std::string& relative) const
{
    return relative.empty() ? tmp.pathOf(top) : tmp.pathOf(top + "/" + relative);
}

void StartedAppFixture::writeSettings(const std::string& contents) const
{
    tmp.writeFile("config/tfoldw.ini", contents);
}

std::string StartedAppFixture::settingsText() const
{
    return tmp.readFile("config/tfoldw.ini");
}

void StartedAppFixture::start(std::optional<std::string> batchFile)
{
    app = std::make_unique<Application>(ui);
    app->start(StartOptions{config(), std::move(batchFile)});
}

bool StartedAppFixture::activate()
{
    return app->command([this] { app->Main.FormActivate(); });
}

void StartedAppFixture::activateAfterModals()
{
    ui.afterModal = [this] { activate(); };
}

std::vector<std::string> StartedAppFixture::listed() const
{
    return app->Main.FileList.items();
}

bool StartedAppFixture::run(const std::function<void()>& handler)
{
    return app->mainCommand(handler);
}

} // namespace twinfold::test
