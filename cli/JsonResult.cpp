#include "JsonResult.h"

#include "JsonLog.h"
#include "engine/LogFile.h"

#include <algorithm>
#include <cmath>

namespace twinfold::cli
{

namespace
{

std::string counts(const TLogFilebx& log)
{
    return "{\"copied\": " + std::to_string(log.FileSuccess.size()) +
           ", \"notCopied\": " + std::to_string(log.FileOld.size()) +
           ", \"failed\": " + std::to_string(log.FileFailed.size()) + "}";
}

// Written by hand: a locale's decimal comma would make it no number at all.
std::string seconds(double value)
{
    const auto millis = std::llround(std::max(0.0, value) * 1000);
    const std::string fraction = std::to_string(1000 + millis % 1000).substr(1);
    return std::to_string(millis / 1000) + "." + fraction;
}

} // namespace

std::string jsonResult(const TLogFilebx& log, const RunResult& result)
{
    return jsonLog(log, {
                            {"exitStatus", std::to_string(result.exitStatus)},
                            {"exitReason", jsonName(result.exitReason)},
                            {"dryRun", result.dryRun ? "true" : "false"},
                            {"counts", counts(log)},
                            {"bytesCopied", std::to_string(result.bytesCopied)},
                            {"elapsedSeconds", seconds(result.elapsedSeconds)},
                        });
}

} // namespace twinfold::cli
