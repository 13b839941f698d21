#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace twinfold
{

// Starts threads running work until the planned number run, and gives how many run. A system
// that gives no more threads means fewer in flight, not a failed run.
template <typename Work>
std::size_t startWorkers(std::vector<std::jthread>& workers, std::size_t planned, Work work)
{
    if (workers.size() >= planned)
        return workers.size();
    try {
        workers.reserve(planned);
        while (workers.size() < planned)
            workers.emplace_back(work);
    } catch (const std::system_error&) {
    }
    return workers.size();
}

// Ends the workers started above: what is still queued is dropped, and the lookups under way
// are waited for as the threads are joined.
template <typename Queue>
void stopWorkers(std::mutex& mutex, std::condition_variable& queued, bool& stopping, Queue& queue,
                 std::vector<std::jthread>& workers)
{
    {
        const std::lock_guard lock(mutex);
        stopping = true;
        queue.clear();
    }
    queued.notify_all();
    workers.clear();
}

} // namespace twinfold
