#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace twinfold
{

class DirectoryCache;

// Source directories that the walk will enter next, read ahead on one worker thread into the
// listing cache, where the walk finds them kept when it gets there. The cache hands a kept
// listing over only while the directory provably has not changed since it was read, so the
// walk sees what it would have read at that moment; a directory that could not be read ahead
// is read at its turn and fails there.
//
// Pays only where the source's lookups wait (a share): the caller asks only then. With jobs 1,
// or with file services that must be called from one thread only, it is never active.
class ListingReadAhead
{
public:
    ListingReadAhead(int jobs, DirectoryCache& cache);
    ~ListingReadAhead();
    ListingReadAhead(const ListingReadAhead&) = delete;
    ListingReadAhead& operator=(const ListingReadAhead&) = delete;

    bool active() const { return m_planned > 0; }
    // Queues the directory; beyond a few waiting, later ones are left to their turn.
    void request(const std::string& directory);

private:
    void work();

    DirectoryCache& m_cache;
    std::size_t m_planned = 0;
    std::mutex m_mutex;
    std::condition_variable m_queued;
    std::deque<std::string> m_queue;
    bool m_stopping = false;
    // Last: the worker is joined before anything it uses goes.
    std::vector<std::jthread> m_workers;
};

} // namespace twinfold
