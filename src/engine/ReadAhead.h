#pragma once

#include "engine/BufferedCopy.h"
#include "engine/RunWindow.h"
#include "platform/FileHandle.h"

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
// With jobs 1, or with file services that must be called from one thread only, no thread is
// started and every take() is an ordinary lookup. The workers end with the object.
class StatusReadAhead
{
public:
    explicit StatusReadAhead(int jobs);
    ~StatusReadAhead();
    StatusReadAhead(const StatusReadAhead&) = delete;
    StatusReadAhead& operator=(const StatusReadAhead&) = delete;

    bool active() const { return !m_workers.empty(); }
    // How many entries a caller may ask for ahead of the one it is at.
    std::size_t window() const { return active() ? 4 * m_workers.size() : 0; }

    // Queues a lookup of the entry of the directory open at dirFd; one queued or read already
    // is not asked for twice. Does nothing when not active.
    void request(int dirFd, const std::string& entry, bool followLinks);
    // The entry's status as statusAt() gives it. A lookup asked for is handed to the first
    // take() of its entry only: requests come from the caller's thread between its takes, so
    // an entry listed twice is read ahead at most once before the first take, and its second
    // take looks at it afresh, after whatever the caller did to it in between.
    std::optional<FileStatus> take(int dirFd, const std::string& entry, bool followLinks);
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

    std::mutex m_mutex;
    std::condition_variable m_queued;
    std::condition_variable m_read;
    std::deque<Key> m_queue;
    std::map<Key, Slot> m_slots;
    int m_reading = 0;
    bool m_stopping = false;
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
