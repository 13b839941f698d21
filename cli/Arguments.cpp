#include "Arguments.h"

#include "RunReport.h"
#include "platform/AccessChecks.h"

#include <CLI/CLI.hpp>

#include <iostream>

namespace twinfold::cli
{

namespace
{

const CLI::Validator BufferSize(
    [](std::string& text) {
        return parseBufferSize(text)
                   ? std::string()
                   : "takes a positive number of bytes (K and M suffixes allowed)";
    },
    "BYTES");

const CLI::Validator NonEmptyMask(
    [](std::string& text) { return text.empty() ? "takes a non-empty mask" : std::string(); },
    "MASK");

// A log directory found wrong only after the run would have cost the whole run.
const CLI::Validator WritableDirectory(
    [](std::string& path) {
        try {
            checkWritableDirectory(path);
            return std::string();
        } catch (const std::exception& failure) {
            return path + ": " + failure.what();
        }
    },
    "DIR");

// The options of the commands that run syncs; values to read after parsing go to the strings.
struct SharedOptions {
    std::string answer = "yes";
    std::string logFormat = "text";
    bool quiet = false;
    bool verbose = false;
    bool fsync = false;
    bool keepGoing = false;
    bool itemize = false;

    void addTo(CLI::App& command, RunOptions& run)
    {
        command.add_option("--answer", answer, "answer to a run's yes/no question (default: yes)")
            ->check(CLI::IsMember({"yes", "no"}))
            ->option_text("yes|no");
        command
            .add_option("--log-dir", run.logDir,
                        "save the result lists in DIR, which must be writable (default: none)")
            ->check(WritableDirectory)
            ->option_text("DIR");
        command
            .add_option("--log-format", logFormat,
                        "text: TFSuccess.txt, TFOlder.txt, TFFailed.txt; json: twinfold-log.json "
                        "(default: text)")
            ->check(CLI::IsMember({"text", "json"}))
            ->option_text("text|json");
        command.add_flag("--quiet", quiet,
                         "print only messages and the summary; not with --verbose (default: off)");
        command.add_flag("--verbose", verbose,
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
        run.itemize = itemize;
    }
};

struct SyncArguments {
    SyncOptions options;
    SharedOptions shared;
    int type = 0;
    std::string buffer;
    CLI::Option* typeOption = nullptr;
    CLI::Option* bufferOption = nullptr;

    void addTo(CLI::App& app)
    {
        auto& sync = *app.add_subcommand("sync", "synchronise SOURCE into DEST once");
        sync.add_option("SOURCE", options.source, "directory to copy from")
            ->required()
            ->option_text(" ");
        sync.add_option("DEST", options.dest,
                        "directory to copy into, made with its missing parents when absent")
            ->required()
            ->option_text(" ");
        sync.add_flag("--all", options.all,
                      "mirror the whole tree below SOURCE (default: off, SOURCE's files only)");
        typeOption = sync.add_option("--type", type,
                                     "file type: 0 all, 1 custom (the masks), 2 *.xls, 3 *.wk*, "
                                     "4 *.doc (default: 0, or 1 with masks)")
                         ->check(CLI::Range(0, 4))
                         ->option_text("N");
        sync.add_option("--include", options.includes,
                        "copy only names matching MASK (* and ?, any case); repeatable "
                        "(default: none)")
            ->check(NonEmptyMask)
            ->expected(1)
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
            ->option_text("MASK");
        sync.add_option("--exclude", options.excludes,
                        "never copy names matching MASK; repeatable (default: none)")
            ->check(NonEmptyMask)
            ->expected(1)
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
            ->option_text("MASK");
        bufferOption = sync.add_option("--buffer", buffer,
                                       "copy buffer size, 64K and 1M allowed (default: 32768)")
                           ->check(BufferSize)
                           ->option_text("BYTES");
        sync.add_flag("--auto-continue", options.autoContinue,
                      "record failed copies without a message for each (default: off)");
        sync.add_flag("--dry-run", options.dryRun,
                      "report what would be copied and change nothing (default: off)");
        shared.addTo(sync, options.run);
    }

    SyncOptions read()
    {
        if (typeOption->count() > 0)
            options.type = type;
        if (bufferOption->count() > 0)
            options.buffer = parseBufferSize(buffer);
        options.fsync = shared.fsync;
        options.keepGoing = shared.keepGoing;
        shared.readInto(options.run);
        return options;
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

} // namespace

ParsedCommand parseCommandLine(int argc, const char* const* argv)
{
    CLI::App app("Twinfold's one-way directory synchronisation for scripts and scheduled jobs.",
                 "twinfold-cli");
    app.set_version_flag("--version", "twinfold-cli " TWINFOLD_VERSION);
    app.require_subcommand(0, 1);
    app.footer("Exit status: 0 done, 1 failed copies or skipped jobs, 2 bad arguments, 3 run "
               "abandoned, 130 cancelled, 143 or 129 ended by SIGTERM or SIGHUP. See "
               "twinfold-cli(1).");
    std::string configDir;
    app.add_option("--config-dir", configDir,
                   "batch only: directory of tfoldw.ini (default: $XDG_CONFIG_HOME/twinfold)")
        ->option_text("DIR");
    SyncArguments sync;
    sync.addTo(app);
    BatchArguments batch;
    batch.addTo(app);
    try {
        app.parse(argc, argv);
        sync.shared.checkExclusions();
        batch.shared.checkExclusions();
    } catch (const CLI::CallForHelp& request) {
        return app.exit(request);
    } catch (const CLI::CallForVersion& request) {
        return app.exit(request);
    } catch (const CLI::ParseError& failure) {
        return usageError(failure.what());
    }
    if (app.get_subcommands().empty())
        return usageError("no command given: sync or batch (see twinfold-cli --help)");
    if (app.got_subcommand("batch"))
        return batch.read(configDir);
    if (!configDir.empty())
        return usageError("sync neither reads nor writes settings: --config-dir is for batch");
    return sync.read();
}

} // namespace twinfold::cli
