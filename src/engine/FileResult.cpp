#include "engine/FileResult.h"

namespace twinfold
{

const char* reasonName(FileReason reason)
{
    switch (reason) {
    case FileReason::New:
        return "new";
    case FileReason::Newer:
        return "newer";
    case FileReason::OlderOrSame:
        return "older or same";
    case FileReason::Failed:
        break;
    }
    return "failed";
}

std::string reasonText(const FileResult& result)
{
    if (result.reason == FileReason::Failed)
        return "failed: " + result.failure;
    return reasonName(result.reason);
}

} // namespace twinfold
