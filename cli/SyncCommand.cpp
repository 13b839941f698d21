#include "SyncCommand.h"

#include "ConsoleServices.h"
#include "ItemizedLines.h"
#include "OutputWatch.h"
#include "RunReport.h"
#include "StandInDirectory.h"
#include "app/Application.h"
#include "platform/FileSystem.h"
#include "platform/PathRules.h"
#include "platform/Termination.h"

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
    main.timeShiftForAll = options.run.timeShift;
    main.jobsForAll = options.run.jobs;

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

bool checkDirectory(ConsoleServices& console, const std::string& role, const std::string& path)
{
    try {
        checkDirectoryAccess(path);
        return true;
    } catch (const std::exception& failure) {
        console.say("twinfold-cli: " + role + " " + path + ": " + failure.what());
        return false;
    }
}

enum class Destination { Ready, Missing, Refused };

// A first backup names a destination that does not exist yet. It is made one level deep: a
// missing parent is far more often a volume that is not mounted than a wish for a new tree, and
// a backup made on the disk beneath the mount point would look like a backup on the volume.
// --mkpath makes every missing level. A dry run only says what the run would do.
Destination prepareDestination(ConsoleServices& console, const SyncOptions& options)
{
    if (directoryExists(options.dest))
        return Destination::Ready;
    const std::string parent = parentPath(options.dest);
    if (!options.makePath && !directoryExists(parent)) {
        console.say("twinfold-cli: destination's parent " + parent +
                    (lookupEntry(parent) ? " is not a directory"
                                         : " does not exist (is the volume mounted?)"));
        return Destination::Refused;
    }
    if (options.dryRun) {
        console.say("twinfold-cli: destination " + options.dest +
                    " does not exist; it would be made");
        return Destination::Missing;
    }
    const bool made =
        options.makePath ? createDirectoryTree(options.dest) : createDirectory(options.dest);
    if (made)
        console.say("twinfold-cli: made destination " + options.dest);
    return Destination::Ready;
}

} // namespace

int runSync(const SyncOptions& options)
{
    RunOptions report = options.run;
    report.dryRun = options.dryRun;
    ConsoleServices console(report);
    if (!checkDirectory(console, "source", options.source))
        return ExitUsage;
    const Destination destination = prepareDestination(console, options);
    if (destination == Destination::Refused)
        return ExitUsage;
    std::optional<StandInDirectory> standIn;
    SyncOptions run = options;
    if (destination == Destination::Missing) {
        standIn.emplace();
        run.dest = standIn->path();
    } else if (!checkDirectory(console, "destination", options.dest)) {
        return ExitUsage;
    }
    Application app(console);
    console.attach(app.SyncBox);
    std::optional<ItemizedLines> items;
    if (options.run.itemize)
        items.emplace(app.SyncBox, fileLines(options.run), options.dryRun,
                      standIn ? standIn->path() : std::string(),
                      standIn ? expandFileName(options.dest) : std::string());
    bool completed = false;
    try {
        completed = app.command([&] { prepare(app, run); }) &&
                    app.command([&] { app.Main.SyncBtnClick(); });
    } catch (const Terminated&) {
        // Ended by a signal: what was done is still reported and saved.
    }
    return finishRuns(app, console, report, !completed);
}

} // namespace twinfold::cli
