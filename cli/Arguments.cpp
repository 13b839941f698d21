#include "Arguments.h"

#include "ArgumentCheck.h"
#include "MaskFile.h"
#include "RunReport.h"
#include "engine/BufferedCopy.h"
#include "engine/RunWindow.h"
#include "platform/AccessChecks.h"
#include "platform/FileSystem.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <iostream>

namespace twinfold::cli
{

namespace
{

// An option that may be given again, each time adding one value.
void repeatable(CLI::App& command, const std::string& name, std::vector<std::string>& values,
                const std::string& help, const CLI::Validator& check, const std::string& valueName)
{
    command.add_option(name, values, help)
        ->check(check)
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
        ->option_text(valueName);
}

const std::string BufferSizes =
    "a size from 1 byte to " + std::to_string(MaxCopyBuffer / (1024 * 1024)) + "M";

// The messages below follow the option's name: "--buffer takes ...".
const CLI::Validator BufferSize(
    [](std::string& text) {
        return parseBufferSize(text)
                   ? std::string()
                   : "takes " + BufferSizes + " (K and M suffixes allowed), not " + text;
    },
    "BYTES");

const CLI::Validator FileType(
    [](std::string& text) {
        return text.size() == 1 && text[0] >= '0' && text[0] <= '4'
                   ? std::string()
                   : "takes a file type from 0 to 4, not " + text;
    },
    "N");

CLI::Validator oneOf(const std::string& first, const std::string& second)
{
    return CLI::Validator(
        [=](std::string& text) {
            return text == first || text == second
                       ? std::string()
                       : "takes " + first + " or " + second + ", not " + text;
        },
        first + "|" + second);
}

const CLI::Validator NonEmptyMask(
    [](std::string& text) { return text.empty() ? "takes a non-empty mask" : std::string(); },
    "MASK");

// Taken against the directory the program was started in, before anything changes the current
// directory (batch start-up enters the configuration directory), so that the checks before the
// run and the run itself see one path. Empty stays empty: it means "none" or "the default".
std::string absoluteArgument(const std::string& path)
{
    return path.empty() ? path : expandFileName(path);
}

const CLI::Validator NonEmptyFile(
    [](std::string& text) {
        return text.empty() ? "takes a file name, or - for standard input" : std::string();
    },
    "FILE");

// A log directory found wrong only after the run would have cost the whole run.
const CLI::Validator WritableDirectory(
    [](std::string& path) {
        if (path.empty())
            return std::string("takes a writable directory, not an empty name");
        try {
            checkWritableDirectory(path);
            return std::string();
        } catch (const std::exception& failure) {
            return "takes a writable directory; " + path + ": " + failure.what();
        }
    },
    "DIR");

// What each value option wants, for the message of a missing value.
const ValueWants Wants{
    {"--answer", "yes or no"},
    {"--log-dir", "a writable directory"},
    {"--log-format", "text or json"},
    {"--config-dir", "a directory"},
    {"--type", "a file type from 0 to 4"},
    {"--include", "a file name mask such as *.txt"},
    {"--exclude", "a file name mask such as *.tmp"},
    {"--include-from", "a file of masks, one a line, or - for standard input"},
    {"--exclude-from", "a file of masks, one a line, or - for standard input"},
    {"--buffer", BufferSizes + ", such as 64K"},
    {"--time-shift", "a whole number of hours from -24 to 24, such as -1"},
    {"--jobs", "a whole number from 1 to 64, such as 8"},
};

// The options of the commands that run syncs; values to read after parsing go to the strings.
struct SharedOptions {
    std::string answer = "yes";
    std::string logFormat = "text";
    bool quiet = false;
    bool verbose = false;
    bool fsync = false;
    bool keepGoing = false;
    int timeShift = 0;
    CLI::Option* timeShiftOption = nullptr;
    int jobs = DefaultJobs;
    CLI::Option* jobsOption = nullptr;
    bool json = false;
    bool itemize = false;

    void addTo(CLI::App& command, RunOptions& run)
    {
        timeShiftOption =
            command
                .add_option("--time-shift", timeShift,
                            "the destination's times read HOURS late (negative: early), as on a "
                            "FAT or exFAT volume written in another time zone; compared "
                            "accordingly (default: none set, a clear late shift is compensated)")
                ->check(CLI::Range(-24, 24))
                ->option_text("HOURS");
        jobsOption = command
                         .add_option("--jobs", jobs,
                                     "keep N file lookups in flight, which hides the round trips "
                                     "of a network share; 1 looks up one file after the other "
                                     "(default: the settings file's, else 16)")
                         ->check(CLI::Range(1, MaxJobs))
                         ->option_text("N");
        command.add_option("--answer", answer, "answer to a run's yes/no question (default: yes)")
            ->check(oneOf("yes", "no"))
            ->option_text("yes|no");
        command
            .add_option("--log-dir", run.logDir,
                        "save the result lists in DIR, which must be writable (default: none)")
            ->transform(absoluteArgument)
            ->check(WritableDirectory)
            ->option_text("DIR");
        command
            .add_option("--log-format", logFormat,
                        "text: TFSuccess.txt, TFOlder.txt, TFFailed.txt; json: twinfold-log.json "
                        "(default: text)")
            ->check(oneOf("text", "json"))
            ->option_text("text|json");
        command.add_flag("-q,--quiet", quiet,
                         "print nothing when the run succeeds, else its messages and the summary "
                         "on standard error; not with --verbose (default: off)");
        command.add_flag("-v,--verbose", verbose,
                         "print Copying PATH or Skipping PATH for each file (default: off)");
        command.add_flag("--itemize", itemize,
                         "print one line per file and per directory made: what the run did and "
                         "why (new, newer, older or same, failed: REASON), a tab, the path "
                         "(default: off)");
        command.add_flag("--fsync", fsync,
                         "make every copy durable: file and directory synced before it is "
                         "reported copied (default: off)");
        command.add_flag("--keep-going", keepGoing,
                         "a directory that cannot be entered or made is recorded as failed "
                         "and passed over with its subtree (default: off, the run is abandoned)");
        command.add_flag("--json", json,
                         "print the result as one JSON object on standard output, which then "
                         "carries nothing else (default: off)");
    }

    // Checked here rather than by the parser so that the help line says it plainly.
    void checkExclusions() const
    {
        if (quiet && verbose)
            throw CLI::ValidationError("--quiet and --verbose exclude each other");
        if (quiet && itemize)
            throw CLI::ValidationError("--quiet and --itemize exclude each other");
    }

    void readInto(RunOptions& run) const
    {
        run.answerYes = answer == "yes";
        run.logFormat = logFormat == "json" ? LogFormat::Json : LogFormat::Text;
        run.verbosity = quiet ? Verbosity::Quiet : verbose ? Verbosity::Verbose : Verbosity::Normal;
        if (timeShiftOption->count() > 0)
            run.timeShift = timeShift;
        if (jobsOption->count() > 0)
            run.jobs = jobs;
        run.json = json;
        run.itemize = itemize;
    }
};

struct SyncArguments {
    SyncOptions options;
    SharedOptions shared;
    int type = 0;
    std::string buffer;
    std::vector<std::string> includeFiles;
    std::vector<std::string> excludeFiles;
    CLI::Option* typeOption = nullptr;
    CLI::Option* bufferOption = nullptr;

    void addTo(CLI::App& app)
    {
        auto& sync = *app.add_subcommand("sync", "synchronise SOURCE into DEST once");
        sync.add_option("SOURCE", options.source, "directory to copy from")
            ->required()
            ->transform(absoluteArgument)
            ->option_text(" ");
        sync.add_option("DEST", options.dest,
                        "directory to copy into, made when absent if its parent exists")
            ->required()
            ->transform(absoluteArgument)
            ->option_text(" ");
        sync.add_flag("--all", options.all,
                      "mirror the whole tree below SOURCE (default: off, SOURCE's files only)");
        typeOption = sync.add_option("--type", type,
                                     "file type: 0 all, 1 custom (the masks), 2 *.xls, 3 *.wk*, "
                                     "4 *.doc (default: 0, or 1 with masks)")
                         ->check(FileType)
                         ->option_text("N");
        repeatable(sync, "--include", options.includes,
                   "copy only names matching MASK (* and ?, any case); repeatable "
                   "(default: none)",
                   NonEmptyMask, "MASK");
        repeatable(sync, "--exclude", options.excludes,
                   "never copy names matching MASK; repeatable (default: none)", NonEmptyMask,
                   "MASK");
        repeatable(sync, "--include-from", includeFiles,
                   "add the masks of FILE to --include's, one a line (# starts a comment "
                   "line; - reads standard input); repeatable (default: none)",
                   NonEmptyFile, "FILE");
        repeatable(sync, "--exclude-from", excludeFiles,
                   "add the masks of FILE to --exclude's, as --include-from does; "
                   "repeatable (default: none)",
                   NonEmptyFile, "FILE");
        bufferOption = sync.add_option("--buffer", buffer,
                                       "copy buffer size, 1 byte to 64M, 64K and 1M allowed "
                                       "(default: 32768)")
                           ->check(BufferSize)
                           ->option_text("BYTES");
        sync.add_flag("--auto-continue", options.autoContinue,
                      "record failed copies without a message for each (default: off)");
        sync.add_flag("-n,--dry-run", options.dryRun,
                      "report what would be copied (Would copy PATH) and change nothing "
                      "(default: off)");
        sync.add_flag("--mkpath", options.makePath,
                      "make a missing DEST with every missing level above it (default: off)");
        shared.addTo(sync, options.run);
    }

    SyncOptions read()
    {
        if (typeOption->count() > 0)
            options.type = type;
        if (bufferOption->count() > 0)
            options.buffer = parseBufferSize(buffer);
        readMaskFiles("--include-from", includeFiles, options.includes);
        readMaskFiles("--exclude-from", excludeFiles, options.excludes);
        options.fsync = shared.fsync;
        options.keepGoing = shared.keepGoing;
        shared.readInto(options.run);
        return options;
    }

    // Checked here so that a list is read only once the command line is otherwise sound.
    void checkStandardInput() const
    {
        if (std::count(includeFiles.begin(), includeFiles.end(), "-") +
                std::count(excludeFiles.begin(), excludeFiles.end(), "-") >
            1)
            throw CLI::ValidationError("standard input can be read once: give - to one "
                                       "--include-from or --exclude-from only");
    }

    static void readMaskFiles(const std::string& option, const std::vector<std::string>& files,
                              std::vector<std::string>& masks)
    {
        for (const auto& file : files) {
            try {
                const auto read = readMaskFile(file);
                masks.insert(masks.end(), read.begin(), read.end());
            } catch (const std::exception& failure) {
                throw CLI::ValidationError(option + " " + file + ": " + failure.what());
            }
        }
    }
};

struct BatchArguments {
    BatchOptions options;
    SharedOptions shared;

    void addTo(CLI::App& app)
    {
        auto& batch = *app.add_subcommand(
            "batch", "run every job of BATCHFILE, starting and ending as the desktop program");
        batch.add_option("BATCHFILE", options.batchFile, "the batch file (.tfw) to run")
            ->required()
            ->transform(absoluteArgument)
            ->option_text(" ");
        shared.addTo(batch, options.run);
    }

    BatchOptions read(const std::string& configDir)
    {
        options.configDir = configDir;
        options.fsync = shared.fsync;
        options.keepGoing = shared.keepGoing;
        shared.readInto(options.run);
        return options;
    }
};

int usageError(const std::string& reason)
{
    std::cerr << "twinfold-cli: " << reason << std::endl;
    return ExitUsage;
}

// The parser puts the option's name before the validators' texts: "--buffer: takes ...".
std::string validationMessage(const std::string& text)
{
    const auto colon = text.find(": takes ");
    if (text.rfind("--", 0) == 0 && colon != std::string::npos && text.find(' ') == colon + 1)
        return text.substr(0, colon) + text.substr(colon + 1);
    return text;
}

} // namespace

ParsedCommand parseCommandLine(int argc, const char* const* argv)
{
    CLI::App app("Twinfold's one-way directory synchronisation for scripts and scheduled jobs.",
                 "twinfold-cli");
    app.set_version_flag("--version", "twinfold-cli " TWINFOLD_VERSION);
    app.require_subcommand(0, 1);
    app.footer("Exit status: 0 done, 1 failed copies or skipped jobs, 2 bad arguments or an "
               "output that cannot be written, 3 run abandoned, 130 cancelled, 143 or 129 "
               "ended by SIGTERM or SIGHUP. See twinfold-cli(1).");
    std::string configDir;
    app.add_option("--config-dir", configDir,
                   "batch only: directory of tfoldw.ini (default: $XDG_CONFIG_HOME/twinfold)")
        ->transform(absoluteArgument)
        ->option_text("DIR");
    SyncArguments sync;
    sync.addTo(app);
    BatchArguments batch;
    batch.addTo(app);
    const std::vector<std::string> args(argv + std::min(argc, 1), argv + argc);
    if (const auto problem = argumentProblem(app, args, Wants))
        return usageError(*problem);
    try {
        app.parse(argc, argv);
        sync.shared.checkExclusions();
        batch.shared.checkExclusions();
        if (app.get_subcommands().empty())
            return usageError("no command given: sync or batch (see 'twinfold-cli --help')");
        if (app.got_subcommand("batch"))
            return batch.read(configDir);
        if (!configDir.empty())
            return usageError("sync neither reads nor writes settings: --config-dir is for batch");
        sync.checkStandardInput();
        return sync.read();
    } catch (const CLI::CallForHelp& request) {
        return app.exit(request);
    } catch (const CLI::CallForVersion& request) {
        return app.exit(request);
    } catch (const CLI::ParseError& failure) {
        return usageError(validationMessage(failure.what()));
    }
}

} // namespace twinfold::cli
