#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace twinfold::cli
{

enum class Verbosity { Quiet, Normal, Verbose };

// The options shared by the commands that run syncs.
struct RunOptions {
    bool answerYes = true;
    std::string logDir;
    Verbosity verbosity = Verbosity::Normal;
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
    bool fsync = false; // every copy made durable before it counts as copied
    RunOptions run;
};

// Parses the arguments after "sync"; on failure returns nothing and sets error.
std::optional<SyncOptions> parseSyncOptions(const std::vector<std::string>& args,
                                            std::string& error);

// "32768", "64K", "1M": bytes as a positive 32-bit number; nothing when invalid.
std::optional<std::int32_t> parseBufferSize(const std::string& text);

} // namespace twinfold::cli
