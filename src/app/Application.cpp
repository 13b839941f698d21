#include "app/Application.h"

#include "platform/FileSystem.h"
#include "platform/PathRules.h"
#include "platform/Windowing.h"

#include <cstdlib>
#include <exception>

namespace twinfold
{

Application::Application(WindowingServices& services)
    : SyncBox(services), LogFilebx(services), AboutBox(services, SpecialBox),
      Main(services, Settings, directoryCache,
           MainWindows{SyncBox, LogFilebx, Optionsbx, AboutBox, BatchDlg, Delete, Preview}),
      BatchDlg(services, Settings, directoryCache),
      Delete(services, directoryCache, Main.SourceDirListBox, Main.DestDirListBox),
      Optionsbx(services, Settings, Main), m_services(services)
{
}

std::string Application::defaultConfigDir()
{
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg == '/')
        return joinPath(xdg, "twinfold");
    const char* home = std::getenv("HOME");
    return joinPath(joinPath(home && *home ? home : "/", ".config"), "twinfold");
}

void Application::start(const StartOptions& options)
{
    const std::string configDir =
        expandFileName(options.configDir.empty() ? defaultConfigDir() : options.configDir);
    // Made on a first start, with every missing level above it.
    std::string level;
    for (const auto& part : ancestorChain(configDir)) {
        level = part;
        // One that cannot be made shows when the settings are saved into it.
        if (!directoryExists(level))
            static_cast<void>(createDirectory(level));
    }
    Main.programDirectory = endsWithSeparator(configDir) ? configDir : configDir + NativeSeparator;
    Main.commandLineBatch = options.batchFile;
    command([this] { Main.FormCreate(); });
    command([this] { BatchDlg.FormCreate(); });
    command([this] { Optionsbx.FormCreate(); });
}

bool Application::command(const std::function<void()>& handler)
{
    try {
        handler();
        return true;
    } catch (const std::exception& failure) {
        m_services.errorReport(nullptr, failure);
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
