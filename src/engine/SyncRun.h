#pragma once

#include "engine/BufferedCopy.h"
#include "engine/CaseCollisions.h"
#include "engine/CopyAhead.h"
#include "engine/FileResult.h"
#include "engine/ListingReadAhead.h"
#include "engine/MirroredReadAhead.h"
#include "engine/ReadAhead.h"
#include "engine/TimeShift.h"
#include "engine/VolumeTrouble.h"
#include "platform/DirectoryTree.h"
#include "platform/FileHandle.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace twinfold
{

class DirectoryFailure;
class DirectoryView;
class RunWindow;
class TLogFilebx;
class TSyncBox;
class WindowingServices;
struct CopyDirectory;
struct CopyOutcome;

// The Sync command: the selected files of the source directory, or (Sync All) the whole tree
// below it, walked depth-first with the source view as the cursor. Each file is copied when
// the newer-than rule asks for it, and ends in one of the log's lists.
class SyncRun
{
public:
    SyncRun(WindowingServices& services, RunWindow& window, TSyncBox& syncBox, TLogFilebx& log);
    SyncRun(const SyncRun&) = delete;
    SyncRun& operator=(const SyncRun&) = delete;

    // Runs the command; ignored while a run is in progress.
    void run();
    // The walk below the view's current entry, then the pass over the view's directory.
    void Traverse(DirectoryView& view);
    // One pass: the files of the view's directory against the mirrored destination directory.
    void SyncAllFiles(DirectoryView& view);

private:
    // Where the run lets the interface process its pending events, which is when a Cancel
    // confirmed in the progress window takes effect. Before each file the cancel state is set
    // to "go on" first; the walk only reads it, so that a Cancel confirmed in a pass below still
    // stops every level above, and so does a long copy, which polls while its bytes move.
    enum class Poll { Walk, File, Copy };
    // True when the run is to stop.
    bool cancelledAt(Poll poll);

    void runSelectedFiles();
    void runSyncAll();
    // Opens the view's current entry; false when the directory was passed over instead.
    bool enterCurrent(DirectoryView& view);
    // With the keep-going choice the directory is logged as failed and the walk goes on;
    // otherwise the run is abandoned with the failure. destinationError: the failure's cause
    // on the destination's side (0 for a source directory).
    void passOver(const DirectoryFailure& failure, int destinationError = 0);
    // The mirrored directory of a source directory, as reached from the run's open roots.
    CopyDirectory mirroredSite(const std::string& sourceDir) const;
    // The source directory of a pass, as reached from the run's open source root.
    CopyDirectory sourceSite(const std::string& sourceDir) const;

    // The steps of a pass. The mirrored destination directory, open (not in a dry run that
    // would make it), and its path as the destination view reports it.
    struct PassDestination {
        OpenedDirectory directory;
        std::string path;
        bool made; // by this pass, for its files
    };
    // Finds or makes the mirrored directory and points the destination view at it; nothing
    // when it can be neither made nor entered, and the directory has been passed over.
    std::optional<PassDestination> enterMirrored(const std::string& sourceDir,
                                                 const std::string& destRoot);
    // Asks ahead for the listings of the view's next subdirectories after index next, where
    // source lookups wait, and for the mirrored directories of those from next on and of the
    // view's own directory, where destination lookups wait.
    void enterAhead(const DirectoryView& view, int next);
    // Makes the directory with its missing parents; true when it had to be made.
    bool makeMirrored(const std::string& mirrored);
    void passOverMirrored(int error, bool making, const std::string& mirrored);
    // The file loop: every entry of the file list, a poll before each.
    void passFiles(const CopyDirectory& source, const CopyDirectory& destination);
    void restoreViewsAfterFailure(const std::string& source, const std::string& destination);
    void processFile(const CopyDirectory& source, const CopyDirectory& destination,
                     const std::string& name);
    // The run's lookups read ahead; a pass called on its own reads nothing ahead.
    StatusReadAhead& readAhead();
    void refuseCaseCollision(const std::string& sourcePath, const std::string& destinationFile,
                             const std::string& takenBy);
    // A subdirectory whose mirrored directory the destination would take for an earlier one's.
    void refuseDirectoryCollision(const std::string& sourcePath, const std::string& takenBy);
    // A directory's path below a root it lies in, without a leading separator; empty for the
    // root.
    static std::string relativeBelow(const std::string& root, const std::string& dir);
    // Says once, before the run's own last message, why every copy into the destination failed
    // where the per-file messages do not say it.
    void tellVolumeTrouble();
    // Installs the copy made ahead where there is one of the source as it is now; size: the
    // source's as the file was judged.
    CopyOutcome copyOne(const CopyDirectory& source, const CopyDirectory& destination,
                        const std::string& name, const std::optional<FileStatus>& destStatus,
                        std::int64_t size);
    // The run's copies made ahead; a pass called on its own makes none.
    CopyAhead& copyAhead();
    // Asks for the copies of the files up to window entries after index that the pass will
    // copy, as far as can be told yet; next: the first entry not looked at yet.
    void copyAheadFrom(int index, int& next, const ListReadAhead& ahead,
                       const CopyDirectory& source, const CopyDirectory& destination,
                       bool selectedOnly);
    void skipOne(const std::string& sourcePath);
    static FileReason copyReason(bool destinationFound, const CopyOutcome& outcome);
    // Announces the file's outcome and why, and that the run is done with it.
    void fileEnded(const std::string& sourcePath, FileReason reason, std::int64_t size,
                   const CopyOutcome& outcome);
    // Every file is judged once the run's last pass is over: the files held back for the
    // evidence are copied or skipped, and what the run saw of the destination's clock is said.
    // With mayCopy false (cancelled, abandoned) the held-back files are only logged.
    void endOfFiles(bool mayCopy);
    void settleHeldBack(bool mayCopy);
    struct HeldBack;
    // Nothing when the file is not newer under the compensation after all.
    std::optional<CopyOutcome> copyHeldBack(const HeldBack& file);
    void sayTimeShifts();

    // A file that a destination reading late would hide, judged at the end of the run.
    struct HeldBack {
        std::string sourceDir;
        std::string destinationDir;
        std::string name;
        std::int64_t size;
    };

    WindowingServices& m_services;
    RunWindow& m_window;
    TSyncBox& m_syncBox;
    TLogFilebx& m_log;
    // The source root and destination root of a Sync All run, open for its length (-1 outside
    // one): every entry of the tree is reached from them by its path relative to the root,
    // which spares the kernel walking every file's full path.
    int m_runSourceRoot = -1;
    int m_runDestRoot = -1;
    CaseCollisions m_caseNames;
    // For the length of a run.
    std::optional<StatusReadAhead> m_ahead;
    // For the length of a Sync All run, while its destination root is open.
    std::optional<MirroredReadAhead> m_mirroredAhead;
    std::optional<ListingReadAhead> m_listingAhead;
    std::optional<CopyAhead> m_copyAhead;
    // The name of the file before, which a name listed twice repeats.
    std::string m_previousName;
    VolumeTrouble m_volume;

    // What one run learns of the destination's clock, and what it does about it.
    std::string m_runDestination;
    int m_settingHours = 0;
    int m_compensatedHours = 0;
    TimeShiftEvidence m_evidence;
    std::vector<HeldBack> m_heldBack;
    bool m_filesEnded = false;
    bool m_timeNotKeptSaid = false;
    // A Cancel confirmed at a poll inside a copy; the run stops at its next poll.
    bool m_cancelledInCopy = false;
};

} // namespace twinfold
