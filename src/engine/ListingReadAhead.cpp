// Source listings read ahead of the walk, on a worker thread.
#include "engine/ListingReadAhead.h"

#include "engine/Workers.h"
#include "platform/DirectoryCache.h"
#include "platform/FileServices.h"
#include "platform/Termination.h"

#include <algorithm>

namespace twinfold
{

namespace
{

// A listing takes a few round trips; the walk enters a directory far less often than it
// handles a file, so one worker a few directories ahead keeps up.
constexpr std::size_t MostQueued = 8;

} // namespace

ListingReadAhead::ListingReadAhead(int jobs, DirectoryCache& cache) : m_cache(cache)
{
    if (jobs > 1 && fileServices().callableFromSeveralThreads())
        m_planned = 1;
}

ListingReadAhead::~ListingReadAhead()
{
    stopWorkers(m_mutex, m_queued, m_stopping, m_queue, m_workers);
}

void ListingReadAhead::request(const std::string& directory)
{
    if (!workersReady(m_workers, m_planned, [this] { work(); }))
        return;
    {
        const std::lock_guard lock(m_mutex);
        if (m_queue.size() >= MostQueued ||
            std::find(m_queue.begin(), m_queue.end(), directory) != m_queue.end())
            return;
        m_queue.push_back(directory);
    }
    m_queued.notify_one();
}

void ListingReadAhead::work()
{
    leaveSignalsToMainThread();
    std::unique_lock lock(m_mutex);
    while (const auto directory = nextQueued(lock, m_queued, m_stopping, m_queue)) {
        lock.unlock();
        try {
            static_cast<void>(m_cache.read(*directory));
        } catch (...) {
            // Met again by the walk at its turn.
        }
        lock.lock();
    }
}

} // namespace twinfold
