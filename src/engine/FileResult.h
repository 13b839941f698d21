#pragma once

#include <cstdint>
#include <string>

namespace twinfold
{

// Why a run copied a file or left it alone.
enum class FileReason {
    New,         // the destination has nothing of that name
    Newer,       // the source is newer than the destination's copy
    OlderOrSame, // the destination's copy is not older (or the source is gone)
    Failed,      // the copy was attempted and failed
};

// One file's outcome as a run announces it, valid for the length of the announcement.
struct FileResult {
    const std::string& path; // the source path
    FileReason reason;
    std::int64_t size; // the source's size as the run found it; 0 when it is gone
    // Why the copy failed, in the words of its message; empty unless reason is Failed.
    const std::string& failure;

    // New and Newer are copied (in a dry run: would be); the others are not.
    bool copied() const { return reason == FileReason::New || reason == FileReason::Newer; }
};

// "new", "newer", "older or same" or "failed".
const char* reasonName(FileReason reason);
// The same, with the failure after "failed: ".
std::string reasonText(const FileResult& result);

} // namespace twinfold
