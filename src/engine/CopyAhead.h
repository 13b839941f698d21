#pragma once

#include "engine/BufferedCopy.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace twinfold
{

// Copies that a pass will make, made ahead on jobs - 1 worker threads into files nothing can
// see, and handed to the run at each file's turn: the run installs one only after it has
// judged the file as it would without copies ahead. Whatever is not taken is dropped and
// leaves nothing behind.
//
// Bounded: at most MaxFiles copies asked for or held, MaxBytes of them held, so that memory,
// disk space and descriptors (one for each copy held, two for each one under way, within
// descriptorsAhead()) stay small whatever the tree. A copy that does not fit is made at its turn
// instead. Copies ahead never take the volume's last SpareBytes, and give their space back to a
// copy made at its turn that might not fit beside them (makeRoomFor): on a nearly full volume every
// copy succeeds or fails as it would one file at a time.
//
// Copies are made by one worker until the last few each waited for something (a share's round
// trips, a disk): only then do more workers make them faster. Where copying only takes the
// processor (a file system in memory, a warm cache) more workers take it from the run.
//
// With jobs 1, or with file services that must be called from one thread only, it is never
// active and no thread is started.
class CopyAhead
{
public:
    static constexpr std::size_t MaxFiles = 32;
    static constexpr std::int64_t MaxBytes = std::int64_t{64} << 20;
    static constexpr std::int64_t SpareBytes = MaxBytes;

    explicit CopyAhead(int jobs);
    ~CopyAhead();
    CopyAhead(const CopyAhead&) = delete;
    CopyAhead& operator=(const CopyAhead&) = delete;

    bool active() const { return m_planned > 0; }
    // How many files ahead of the one it is at a pass may ask for.
    std::size_t window() const { return active() ? m_maxFiles : 0; }

    // Asks for the copy of the entry name from source to destination, which stay open until
    // the next clear(). A name asked for already is not asked for again. False when no more
    // copies fit: ask again later.
    bool request(const CopyDirectory& source, const CopyDirectory& destination,
                 const std::string& name, const CopyRequest& request);
    // The copy of name made ahead, if any; one under way is waited for, and goOn is asked
    // between waits whether to go on waiting (false: nothing, and the copy is dropped). Any
    // copy of name asked for is no longer ahead afterwards.
    std::optional<PreparedCopy> take(const std::string& name, const std::function<bool()>& goOn);
    // The file's turn came without a copy: whatever was asked for it is dropped.
    void drop(const std::string& name);
    // Drops every copy ahead and returns once no worker uses a directory any more.
    void clear();
    // Before the run makes a copy of size bytes itself on the volume of destinationFd.
    void makeRoomFor(int destinationFd, std::int64_t size);

private:
    enum class State { Queued, Making, Made };
    struct Slot {
        State state = State::Queued;
        bool dropped = false;
        CopyDirectory source;
        CopyDirectory destination;
        CopyRequest request;
        std::optional<PreparedCopy> copy;
    };

    void work();
    // Under the lock: a copy was made ahead, and whether making it waited.
    void noteMade(bool waited);
    // Whether the volume keeps SpareBytes free after a copy of size bytes.
    bool leavesSpare(int destinationFd, std::int64_t size);
    // Under the lock: gives back what a slot holds and forgets it.
    void forget(std::map<std::string, Slot>::iterator slot);

    std::mutex m_mutex;
    std::condition_variable m_queued;
    std::condition_variable m_made;
    std::deque<std::string> m_queue;
    std::map<std::string, Slot> m_slots;
    std::int64_t m_held = 0;
    // The volume's free bytes when last asked (-1: not known), and what copies ahead may have
    // written since.
    std::int64_t m_roomSeen = -1;
    std::int64_t m_takenSinceLook = 0;
    int m_making = 0;
    // Whether each of the last copies made waited, and how many were made.
    std::array<bool, 8> m_recentWaits{};
    std::size_t m_madeCount = 0;
    std::atomic<bool> m_copiesWait = false;
    bool m_stopping = false;
    std::size_t m_planned = 0;
    // MaxFiles, or fewer where the process may hold few descriptors.
    std::size_t m_maxFiles = 0;
    // Last: the workers are joined before anything they use goes.
    std::vector<std::jthread> m_workers;
};

} // namespace twinfold
