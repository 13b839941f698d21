#pragma once

#include "engine/BufferedCopy.h"
#include "engine/RunWindow.h"
#include "platform/FileHandle.h"

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <map>
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
// With jobs 1, or with file services that must be called from one thread only, no thread is
// ever started and every take() is an ordinary lookup. Otherwise the workers start with the
// first request (a run whose lookups never wait starts none) and end with the object.
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
    // Queues a lookup of the entry of the directory open at dirFd; one queued or read already
    // is not asked for twice. Does nothing when not active.
    void request(int dirFd, const std::string& entry, bool followLinks);
    // The entry's status as statusAt() gives it. A lookup asked for is handed to the first
    // take() of its entry only: requests come from the caller's thread between its takes, so
    // an entry listed twice is read ahead at most once before the first take, and its second
    // take looks at it afresh, after whatever the caller did to it in between.
    std::optional<FileStatus> take(Side side, int dirFd, const std::string& entry,
                                   bool followLinks);
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

    void work();
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

    std::mutex m_mutex;
    std::condition_variable m_queued;
    std::condition_variable m_read;
    std::deque<Key> m_queue;
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

private:
    StatusReadAhead& m_ahead;
    const FileListBox& m_files;
    bool m_selectedOnly;
    const CopyDirectory& m_source;
    const CopyDirectory& m_destination;
    int m_next = 0;
};

} // namespace twinfold
