#pragma once

#include "platform/DirectoryTree.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace twinfold
{

// Opens the mirrored destination directories of the walk's next passes on worker threads, and
// glances over each for leftover temporaries, while the run is busy with the passes before
// them: on a share each is a few round trips that the run would otherwise wait for in turn.
//
// Only what the run would have read is read ahead. A directory found open is handed to its
// pass as it is; one that was missing or could not be opened is left to the pass, which tries
// again at its turn and decides as it always does (it may have been made meanwhile). Leftovers
// are only looked for ahead: the pass removes them itself, at its turn, so that nothing is
// changed in a directory the run never reaches.
//
// With jobs 1, or with file services that must be called from one thread only, it starts no
// thread and take() hands nothing over.
class MirroredReadAhead
{
public:
    struct Entered {
        OpenedDirectory directory;
        std::vector<std::string> leftovers;
    };

    // destRoot: the run's open destination root, which every request is relative to; it stays
    // open for the object's life. leftovers: whether each directory is glanced over as well.
    MirroredReadAhead(int jobs, int destRoot, bool leftovers);
    ~MirroredReadAhead();
    MirroredReadAhead(const MirroredReadAhead&) = delete;
    MirroredReadAhead& operator=(const MirroredReadAhead&) = delete;

    bool active() const { return m_planned > 0; }
    // Queues the directory at relative below the root; one held already is not asked twice,
    // and beyond a few held at once nothing more is (each holds a descriptor).
    void request(const std::string& relative);
    // The directory as read ahead, open; nothing when it was not read ahead or not opened.
    // Waits for it while it is being read.
    std::optional<Entered> take(const std::string& relative);

private:
    enum class State { Queued, Reading, Read };
    struct Slot {
        State state = State::Queued;
        std::optional<Entered> entered;
    };
    void work();
    Entered enter(const std::string& relative) const;

    const int m_root;
    const bool m_leftovers;
    std::size_t m_planned = 0;
    // At most this many directories held; fewer where the process may hold few descriptors.
    std::size_t m_mostHeld = 0;
    std::mutex m_mutex;
    std::condition_variable m_queued;
    std::condition_variable m_read;
    std::deque<std::string> m_queue;
    std::map<std::string, Slot> m_slots;
    bool m_stopping = false;
    // Last: the workers are joined before anything they use goes.
    std::vector<std::jthread> m_workers;
};

} // namespace twinfold
