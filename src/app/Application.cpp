#include "app/Application.h"

#include "platform/Windowing.h"

#include <exception>

namespace twinfold {

Application::Application(WindowingServices& services)
    : Main(services, Settings, SyncBox, LogFilebx), SyncBox(services), LogFilebx(services),
      m_services(services)
{
}

bool Application::command(const std::function<void()>& handler)
{
    try {
        handler();
        return true;
    } catch (const std::exception& failure) {
        m_services.errorReport(failure.what());
        return false;
    }
}

bool Application::mainCommand(const std::function<void()>& handler)
{
    if (Main.runInProgress())
        return false;
    return command(handler);
}

} // namespace twinfold
