#pragma once

#include "platform/FileHandle.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace twinfold
{

class WindowingServices;
class TemporaryFile;

inline constexpr std::int32_t DefaultCopyBuffer = 32768;
// The largest buffer a copy uses, so that a hand-edited size never fails an allocation.
inline constexpr std::int32_t MaxCopyBuffer = 64 << 20;

// What one copy did, for the callers that count bytes. Besides copied and failed there is a
// third outcome: the destination became newer than the source while the copy was made (another
// program wrote it); it is kept, the copy discarded, and the file belongs with the files not
// copied, not with the failures.
struct [[nodiscard]] CopyOutcome {
    bool copied = false;
    std::int64_t bytes = 0;
    bool destinationKept = false;
    // Why a copy failed, in the words of its message (also when the message was not shown).
    std::string failure;
    // The system's error number of a failure on the destination's side; 0 for any other.
    int destinationError = 0;
    // The time the file system kept for a copy, where it is not the one set (beyond its own
    // two-second rounding); later runs compare with what was kept.
    std::optional<std::int64_t> timeKept;
    std::int64_t timeSet = 0;

    static CopyOutcome copiedWith(std::int64_t bytes)
    {
        CopyOutcome outcome;
        outcome.copied = true;
        outcome.bytes = bytes;
        return outcome;
    }
    static CopyOutcome keptDestination()
    {
        CopyOutcome outcome;
        outcome.destinationKept = true;
        return outcome;
    }

    // A fourth outcome: the copy was given up on request (a confirmed Cancel) before it was
    // complete. Nothing of it is left, the old destination stands, and the file is neither
    // copied nor failed: the run never got to it.
    bool abandoned = false;
    static CopyOutcome abandonedCopy()
    {
        CopyOutcome outcome;
        outcome.abandoned = true;
        return outcome;
    }
};

// Follows a copy while its bytes move: told how far it is after every step, and asked whether
// it is to go on.
class CopyWatcher
{
public:
    // copied of size bytes are in the copy (size 0: a file whose size is not known beforehand).
    // False abandons the copy.
    virtual bool goOn(std::int64_t copied, std::int64_t size) = 0;

protected:
    ~CopyWatcher() = default;
};

// A directory that a copy reads from or writes into: open (a descriptor that the caller keeps
// open for the copy; -1 when it could not be opened; currentDirectoryFd() when its entries are
// taken by their full paths), and its full path for the messages.
struct CopyDirectory {
    int fd = -1;
    std::string path;
    // Where the directory lies below fd, when fd is an ancestor of it: a run keeps its two root
    // directories open and reaches every entry of the tree from them.
    std::string prefix;
    // Made by the run for the pass that copies into it, so that nothing stands there but what
    // the pass put there.
    bool madeForPass = false;

    // What names the entry for the calls relative to fd.
    std::string entry(const std::string& name) const;
};

// What a copy is asked to do besides its two ends.
struct CopyRequest {
    // No message box for a failure (the auto-continue choice); the outcome still says why.
    bool quiet = false;
    std::int32_t copyBuffer = DefaultCopyBuffer;
    // The copy and its directory are synced before it counts as copied.
    bool durable = false;
    // Whether the caller looked at the destination just before, and what it found there
    // (nothing: no destination); the copy then need not look it up again.
    bool destinationKnown = false;
    std::optional<FileStatus> destination = std::nullopt;
    // Told how far the copy is, and asked whether it goes on; none for a copy that always runs
    // to its end.
    CopyWatcher* watcher = nullptr;

    CopyRequest& knowing(const std::optional<FileStatus>& seen)
    {
        destinationKnown = true;
        destination = seen;
        return *this;
    }
};

// Copies one file through a buffer of copyBuffer bytes and gives the copy the source's
// last-write time, rounded down to the two-second step. destination is a directory (the copy
// takes the source's file name) or the full path of the destination file. Unless quiet, each
// failure is shown in a message box. copied is true when the file was copied.
//
// The old destination is never torn: the bytes go to a file beside it, which takes its name
// only when complete and timed. At most the size the source had when it was opened is copied,
// and a source whose size, time or change time differ afterwards is not installed. Just before
// the copy takes the destination's place the destination is looked at again: one that the
// newer-than rule would no longer replace is kept.
//
// A new copy gets the source's permission bits less the umask, set-user-ID and set-group-ID
// never carried, and the owner's write permission (so a later run can replace it); a copy that
// replaces a file keeps that file's permission bits and, where the process may, its owner and
// group.
//
// Throws Terminated when a signal asks the program to end during the copy; the copy is then
// abandoned and leaves nothing behind.
[[nodiscard]] CopyOutcome BufferedCopy(WindowingServices& services, const std::string& source,
                                       const std::string& destination,
                                       const CopyRequest& request = {});

// The same copy of the entry `name` of one open directory to the entry of the same name of
// another. The engine keeps both directories of a pass open, so that no file's copy makes the
// kernel walk the full paths again.
[[nodiscard]] CopyOutcome copyFileAt(WindowingServices& services, const CopyDirectory& sourceDir,
                                     const CopyDirectory& destinationDir, const std::string& name,
                                     const CopyRequest& request);

// A copy made ahead of its turn: complete, checked, flushed and timed in a file that has no
// name or a locked temporary one; nothing of it is visible until it is installed. Dropped, it
// leaves nothing behind. Without output it did not come about.
struct PreparedCopy {
    PreparedCopy();
    PreparedCopy(PreparedCopy&&) noexcept;
    PreparedCopy& operator=(PreparedCopy&&) noexcept;
    ~PreparedCopy();

    // The source as it was opened; its contents are the copy's.
    FileStatus source;
    std::unique_ptr<TemporaryFile> output;
    std::int64_t bytes = 0;
    std::int64_t time = 0;
    // What it counts against the bytes that copies ahead may hold.
    std::int64_t held = 0;
};

// Makes the copy of copyFileAt up to its install, on any thread: shows nothing. mayHold is
// asked with the source's size once it is open, and false leaves the copy to its turn. Nothing
// where the copy is left to its turn from the start.
[[nodiscard]] std::optional<PreparedCopy>
prepareCopyAt(const CopyDirectory& sourceDir, const CopyDirectory& destinationDir,
              const std::string& name, const CopyRequest& request,
              const std::function<bool(std::int64_t)>& mayHold);

// Installs a complete copy made ahead (prepared.output set) at its turn, with the outcome and
// the messages of copyFileAt: the destination as request knows it decides.
[[nodiscard]] CopyOutcome installCopyAt(WindowingServices& services, const CopyDirectory& sourceDir,
                                        const CopyDirectory& destinationDir,
                                        const std::string& name, const CopyRequest& request,
                                        PreparedCopy& prepared);

// The size of the entry a path names, any kind admitted; -1 when nothing is found. Only the low
// 32 bits of the size are returned, as a signed number.
std::int32_t FileSizeByName(const std::string& path);

// The buffer size a copy really uses: 32768 for a size of 0 or less, which would never finish
// a copy; and at most 64 MiB, so that a hand-edited size never fails an allocation.
std::size_t effectiveBufferSize(std::int32_t copyBuffer);

} // namespace twinfold
