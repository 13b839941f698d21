#pragma once

#include <cstdint>
#include <string>

namespace twinfold
{

class WindowingServices;

inline constexpr std::int32_t DefaultCopyBuffer = 32768;

// What one copy did, for the callers that count bytes.
struct CopyOutcome {
    bool copied = false;
    std::int64_t bytes = 0;
};

// A directory that a copy reads from or writes into: open (a descriptor that the caller keeps
// open for the copy; -1 when it could not be opened; AT_FDCWD when its entries are to be taken
// by their full paths), and its full path for the messages.
struct CopyDirectory {
    int fd = -1;
    std::string path;
    // Where the directory lies below fd, when fd is an ancestor of it: a run keeps its two root
    // directories open and reaches every entry of the tree from them.
    std::string prefix;

    // What names the entry for the calls relative to fd.
    std::string entry(const std::string& name) const;
};

// Copies one file through a buffer of copyBuffer bytes and gives the copy the source's
// last-write time, rounded down to the two-second step. destination is a directory (the copy
// takes the source's file name) or the full path of the destination file. Unless quiet, each
// failure is shown in a message box. True when the file was copied.
//
// The old destination is never torn: the bytes go to a temporary file beside it, which replaces
// it only when complete, timed and closed. A source that changes size or time while it is being
// copied is not installed.
bool BufferedCopy(WindowingServices& services, const std::string& source,
                  const std::string& destination, bool quiet, std::int32_t copyBuffer);

CopyOutcome copyFile(WindowingServices& services, const std::string& source,
                     const std::string& destination, bool quiet, std::int32_t copyBuffer);

// The same copy of the entry `name` of one open directory to the entry of the same name of
// another. The engine keeps both directories of a pass open, so that no file's copy makes the
// kernel walk the full paths again.
CopyOutcome copyFileAt(WindowingServices& services, const CopyDirectory& sourceDir,
                       const CopyDirectory& destinationDir, const std::string& name, bool quiet,
                       std::int32_t copyBuffer);

// The size of the entry a path names, any kind admitted; -1 when nothing is found. Only the low
// 32 bits of the size are returned, as a signed number.
std::int32_t FileSizeByName(const std::string& path);

// The buffer size a copy really uses: 32768 for a size of 0 or less, which would never finish
// a copy; and at most 64 MiB, so that a hand-edited size never fails an allocation.
std::size_t effectiveBufferSize(std::int32_t copyBuffer);

} // namespace twinfold
