#pragma once

#include <cstdint>
#include <string>

namespace twinfold
{
class TLogFilebx;
}

namespace twinfold::cli
{

// How the runs of one command went, beside the result lists.
struct RunResult {
    int exitStatus = 0;
    std::string exitReason;
    bool dryRun = false;
    std::int64_t bytesCopied = 0;
    double elapsedSeconds = 0;
};

// The result of a command as one JSON object: the counts, the RunResult, and the three lists
// in the JSON log's encoding.
std::string jsonResult(const TLogFilebx& log, const RunResult& result);

} // namespace twinfold::cli
