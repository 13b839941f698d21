#pragma once

#include <cstdint>
#include <string>

namespace twinfold
{

class DirectoryView;
class FileListBox;

// How many status lookups a run keeps in flight by default. On a share every lookup waits a
// round trip, and sixteen in flight take a no-op run from minutes to seconds; on a local disk
// nothing is read ahead (lookups that do not wait are not worth handing over), and the idle
// threads cost about one percent (bench/README.md has the figures).
inline constexpr std::int32_t DefaultJobs = 16;
// The most a setting or an argument may ask for: beyond it a share gains nothing more.
inline constexpr std::int32_t MaxJobs = 64;
// A hand-edited number outside 1 to MaxJobs stands for the default.
inline std::int32_t usableJobs(std::int32_t jobs)
{
    return jobs >= 1 && jobs <= MaxJobs ? jobs : DefaultJobs;
}

// What a run takes from the window it is started from, read at each file.
struct RunChoices {
    bool batchMode = false; // the success messages are left out
    // The newer-than rule is applied and logged, nothing changes, no success is reported.
    bool dryRun = false;
    bool autoContinue = false; // a failed copy is logged without a question
    std::int32_t copyBuffer = 32768;
    bool fsync = false; // every copy synced, with its directory, before it counts as copied
    // A directory that cannot be entered or made is logged as failed and passed over with its
    // subtree, where the run would otherwise abandon itself.
    bool keepGoing = false;
    // The hours the destination's times read later than the source's clock (negative: earlier),
    // as the user set it; 0 leaves it to the run's own evidence.
    int timeShift = 0;
    // How many status lookups the run keeps in flight, its own included; 1 makes every call on
    // the run's own thread, one after the other.
    std::int32_t jobs = DefaultJobs;
    // Whether a Sync All over a selection first asks if the whole tree is meant; a preview,
    // which changes nothing, shows the tree without asking.
    bool askBeforeSyncAll = true;
};

// The window a run works through. A Sync All walk moves the source view as its cursor, and the
// file list follows it; the destination view follows the mirrored directory.
class RunWindow
{
public:
    virtual DirectoryView& sourceView() = 0;
    virtual FileListBox& sourceFiles() = 0;
    virtual DirectoryView& destinationView() = 0;
    virtual bool syncAllChecked() const = 0;
    virtual RunChoices runChoices() const = 0;
    // The base of the mirror of the Sync All run starting.
    virtual void setSourceRoot(const std::string& root) = 0;
    virtual const std::string& sourceRoot() const = 0;
    // The run is over, however it ended: the window brings what it skipped during it up to date.
    virtual void runEnded() = 0;

protected:
    ~RunWindow() = default;
};

} // namespace twinfold
