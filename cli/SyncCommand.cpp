#include "SyncCommand.h"

#include "ConsoleServices.h"
#include "ItemizedLines.h"
#include "RunReport.h"
#include "StandInDirectory.h"
#include "app/Application.h"
#include "platform/FileSystem.h"
#include "platform/PathRules.h"

#include <iostream>
#include <optional>

namespace twinfold::cli
{

namespace
{

std::string joinedFilter(const std::vector<std::string>& masks)
{
    std::string text;
    for (const auto& mask : masks)
        text += mask + ";";
    return text;
}

// Sets up the main window as a user would before pressing Sync.
void prepare(Application& app, const SyncOptions& options)
{
    auto& main = app.Main;
    app.Settings.Include = joinedFilter(options.includes);
    app.Settings.Exclude = joinedFilter(options.excludes);
    if (options.buffer)
        app.Settings.CopyBuffer = *options.buffer;
    app.Settings.AutoContinue = options.autoContinue;
    main.dryRun = options.dryRun;
    app.Settings.Fsync = options.fsync;
    main.keepGoing = options.keepGoing;

    main.SourceDirListBox.setDirectory(options.source);
    main.DestDirListBox.setDirectory(options.dest);
    const bool custom = !options.includes.empty() || !options.excludes.empty();
    main.EditFilter.setItemIndex(options.type.value_or(custom ? 1 : 0));
    main.EditFilterChange();
    main.SyncAll.setChecked(options.all);
    if (!options.all) {
        for (int i = 0; i < main.FileList.count(); ++i)
            main.FileList.setSelected(i, true);
    }
}

bool checkDirectory(const std::string& role, const std::string& path)
{
    try {
        checkDirectoryAccess(path);
        return true;
    } catch (const std::exception& failure) {
        std::cerr << "twinfold-cli: " << role << " " << path << ": " << failure.what() << std::endl;
        return false;
    }
}

// A first backup names a destination that does not exist yet; it is made as the mirrored
// directories of a run are, with every missing level. A dry run only says so.
bool prepareDestination(const SyncOptions& options)
{
    if (directoryExists(options.dest))
        return true;
    if (options.dryRun) {
        std::cerr << "twinfold-cli: destination " << options.dest
                  << " does not exist; it would be made" << std::endl;
        return false;
    }
    if (createDirectoryTree(options.dest))
        std::cerr << "twinfold-cli: made destination " << options.dest << std::endl;
    return true;
}

} // namespace

int runSync(const SyncOptions& options)
{
    if (!checkDirectory("source", options.source))
        return ExitUsage;
    std::optional<StandInDirectory> standIn;
    SyncOptions run = options;
    if (!prepareDestination(options)) {
        standIn.emplace();
        run.dest = standIn->path();
    } else if (!checkDirectory("destination", options.dest)) {
        return ExitUsage;
    }
    ConsoleServices console(options.run);
    Application app(console);
    console.attach(app.SyncBox);
    std::optional<ItemizedLines> items;
    if (options.run.itemize)
        items.emplace(app.SyncBox, options.dryRun, standIn ? standIn->path() : std::string(),
                      standIn ? expandFileName(options.dest) : std::string());
    if (!app.command([&] { prepare(app, run); }))
        return finishRuns(app, console, options.run, true);
    const bool completed = app.command([&] { app.Main.SyncBtnClick(); });
    return finishRuns(app, console, options.run, !completed);
}

} // namespace twinfold::cli
