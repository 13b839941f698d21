#pragma once

#include "engine/BufferedCopy.h"
#include "engine/RunWindow.h"
#include "platform/FileHandle.h"

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

namespace twinfold
{

class FileListBox;

// Looks up the status of entries the run will examine next, on jobs - 1 worker threads, while
// the run decides about the entries before them. The run still takes every status it uses
// through take(), in its own order: one read ahead is handed over (waiting for it when it is
// under way), any other is looked up there and then, exactly as without reading ahead.
//
// Reading ahead pays only where a lookup waits (a network share, a disk that has to seek); a
// lookup the kernel answers from memory costs less than handing it to another thread. So the
// lookups on each side of the run (its source, its destination) are timed, and a caller asks
// ahead only on a side whose recent lookups all waited.
//
// Where the destination's lookups do not wait, one worker is handed a whole stretch of the
// pass's list at once and looks up its destinations while the run looks up the sources: one
// handover for many lookups is cheap enough, and the destinations then cost the run's thread
// next to nothing, the machine's other core doing them.
//
// With jobs 1, or with file services that must be called from one thread only, no thread is
// ever started and every take() is an ordinary lookup. Otherwise the workers start with the
// first request or stretch (a run whose lookups are never asked ahead starts none) and end
// with the object.
class StatusReadAhead
{
public:
    enum class Side { Source, Destination };

    explicit StatusReadAhead(int jobs);
    ~StatusReadAhead();
    StatusReadAhead(const StatusReadAhead&) = delete;
    StatusReadAhead& operator=(const StatusReadAhead&) = delete;

    bool active() const { return m_planned > 0; }
    // How many entries a caller may ask for ahead of the one it is at.
    std::size_t window() const { return 4 * m_planned; }

    // Whether the recent lookups that take() made on the side all waited; false before any.
    bool waits(Side side) const;
    // Whether some were timed and not all waited.
    bool quick(Side side) const;
    // Queues a lookup of the entry of the directory open at dirFd; one queued or read already
    // is not asked for twice. Does nothing when not active.
    void request(int dirFd, const std::string& entry, bool followLinks);
    // The entry's status as statusAt() gives it. A lookup asked for is handed to the first
    // take() of its entry only: requests come from the caller's thread between its takes, so
    // an entry listed twice is read ahead at most once before the first take, and its second
    // take looks at it afresh, after whatever the caller did to it in between.
    std::optional<FileStatus> take(Side side, int dirFd, const std::string& entry,
                                   bool followLinks);
    // What was read ahead for an entry, without taking it: Read with its status, Coming while a
    // lookup is still to come, NotRead where none is asked for. position: the entry's place in
    // the pass's list, for one read in a stretch.
    struct Glimpse {
        enum State { NotRead, Coming, Read } state = NotRead;
        std::optional<FileStatus> status;
    };
    Glimpse glimpse(int dirFd, const std::string& entry, bool followLinks,
                    std::size_t position) const;
    // Has one worker look up, in order and without following links, the destination entries of
    // a stretch of the pass's list from position `from` on (an empty entry is not looked up).
    // Their take()s find them through the position given to passAt(). Every stretch of one
    // pass names the same directory and list length; does nothing when not active.
    void readStretch(int dirFd, std::size_t listLength, std::size_t from,
                     std::vector<std::string> entries);
    // The pass is at this position of its list: the next take() of its destination may use
    // what a stretch read there.
    void passAt(std::size_t position) { m_position = position; }
    // Drops every request and every status read; returns once no worker uses a descriptor any
    // more, so that the caller may close the directories it named.
    void clear();

private:
    using Key = std::tuple<int, std::string, bool>;
    enum class State { Queued, Reading, Read };
    struct Slot {
        State state = State::Queued;
        std::optional<FileStatus> status;
    };

    // One position of a stretch. The run never waits for it: one the worker has not read yet
    // (maybe under way) is taken over and looked up at its turn, costing no more than a wait.
    enum Stretched : int { Unasked, Asked, Looking, Looked, Done };
    struct Position {
        std::string entry;
        std::atomic<int> state = Unasked;
        std::optional<FileStatus> status;
        std::chrono::steady_clock::duration took{};
    };
    struct Stretch {
        std::size_t from = 0;
        std::size_t to = 0;
    };

    void work();
    void readStretch(int dirFd, Position* first, Position* last);
    // What a worker read ahead for the entry, if it did; takes it over otherwise.
    std::optional<std::optional<FileStatus>> takeAsked(const Key& key);
    // What the stretch read for the position the pass is at, if it read this entry there.
    std::optional<std::optional<FileStatus>> takeStretched(int dirFd, const std::string& entry);
    // Whether the side's next lookup is one of those timed.
    bool timing(Side side);
    void timed(Side side, std::chrono::steady_clock::duration took);
    // What the last few lookups on one side took; the quickest of them is what one costs.
    // Only the caller's thread times and reads them; they hold for the whole run.
    struct Recent {
        std::array<std::chrono::steady_clock::duration, 8> took{};
        std::size_t count = 0;
        std::size_t next = 0;
        std::size_t untimed = 0;
    };
    std::array<Recent, 2> m_recent;
    // Whether anything was asked for since the last clear(); the caller's thread only.
    bool m_asked = false;
    // The pass's list as the stretches saw it, and where the pass is; the caller's thread
    // allots and drops it, under the mutex while a worker may read a stretch of it.
    std::unique_ptr<Position[]> m_positions;
    std::size_t m_listLength = 0;
    int m_listFd = -1;
    std::size_t m_position = 0;
    // The destination entry taken last: a name listed twice follows itself in its list, and
    // its second take looks at it afresh, after what the run did to it at the first.
    std::string m_lastTaken;

    mutable std::mutex m_mutex;
    std::condition_variable m_queued;
    std::condition_variable m_read;
    std::deque<Key> m_queue;
    std::deque<Stretch> m_stretches;
    // Set while clear() waits for a stretch under way to end early.
    std::atomic<bool> m_dropping = false;
    std::map<Key, Slot> m_slots;
    int m_reading = 0;
    bool m_stopping = false;
    std::size_t m_planned = 0;
    // Last: the workers are joined before anything they use goes.
    std::vector<std::jthread> m_workers;
};

// What one pass over a file list will look up, asked for a window ahead of the entry the pass
// is at: each file's source status and its destination's. Everything read ahead is dropped
// when the pass ends, before it closes its directories.
class ListReadAhead
{
public:
    // selectedOnly: the pass takes the list's selected entries only.
    ListReadAhead(StatusReadAhead& ahead, const FileListBox& files, bool selectedOnly,
                  const CopyDirectory& source, const CopyDirectory& destination);
    ~ListReadAhead() { m_ahead.clear(); }
    ListReadAhead(const ListReadAhead&) = delete;
    ListReadAhead& operator=(const ListReadAhead&) = delete;

    // The pass is at entry index: the entries after it are asked for, up to the window.
    void at(int index);
    // What the statuses read ahead for entry index say of its copy under the newer-than rule,
    // the destination's times read destinationShift seconds late: a guess for copies made
    // ahead, since the run judges each file at its turn.
    enum class Foresight { Copied, NotCopied, NotYetKnown };
    Foresight foresee(int index, std::int64_t destinationShift) const;

private:
    // Hands the worker the next stretch once the pass is halfway through the last one.
    void stretchFrom(int index);

    StatusReadAhead& m_ahead;
    const FileListBox& m_files;
    bool m_selectedOnly;
    const CopyDirectory& m_source;
    const CopyDirectory& m_destination;
    int m_next = 0;
    // The positions before it were handed to the worker in stretches.
    int m_stretched = 0;
};

} // namespace twinfold
