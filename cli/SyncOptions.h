#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace twinfold::cli
{

enum class Verbosity { Quiet, Normal, Verbose };

// How --log-dir saves the result lists: the three text lists, or one JSON file.
enum class LogFormat { Text, Json };

// The options shared by the commands that run syncs.
struct RunOptions {
    bool answerYes = true;
    std::string logDir;
    LogFormat logFormat = LogFormat::Text;
    Verbosity verbosity = Verbosity::Normal;
    // Hours the destination's times read late (negative: early), over any job's own setting.
    std::optional<int> timeShift;
    // Status lookups kept in flight, over any job's own setting.
    std::optional<int> jobs;
    // What the run prints says that nothing was changed.
    bool dryRun = false;
    // The result as one JSON object on standard output, which then carries nothing else.
    bool json = false;
    // One line per file and per directory made: what the run did and why.
    bool itemize = false;
};

struct SyncOptions {
    std::string source;
    std::string dest;
    bool all = false;
    std::optional<int> type;
    std::vector<std::string> includes;
    std::vector<std::string> excludes;
    std::optional<std::int32_t> buffer;
    bool autoContinue = false;
    bool dryRun = false;
    // A missing DEST is made with every missing level, not only below an existing parent.
    bool makePath = false;
    // Every copy made durable (file and directory synced) before it is reported copied.
    bool fsync = false;
    // A directory that cannot be entered is recorded as failed and passed over.
    bool keepGoing = false;
    RunOptions run;
};

struct BatchOptions {
    std::string configDir;
    std::string batchFile;
    bool fsync = false;
    bool keepGoing = false;
    RunOptions run;
};

// "32768", "64K", "1M": bytes from 1 to the largest copy buffer; nothing when invalid.
std::optional<std::int32_t> parseBufferSize(const std::string& text);

} // namespace twinfold::cli
