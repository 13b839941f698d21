#pragma once

#include "platform/FileServices.h"

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace twinfold
{

// The descriptors that each of the two readers that hold files ahead (copies, mirrored
// directories) may keep open: together a quarter of what the process may hold, so that the run
// itself, the program's own files and the libraries always have the rest. Fewer in flight, never
// a copy that fails for want of a descriptor.
inline std::size_t descriptorsAhead()
{
    return static_cast<std::size_t>(std::max(fileServices().descriptorLimit(), 0)) / 8;
}

// How many files or directories a reader with `planned` workers may hold ahead: at most `most`,
// each keeping one descriptor and each worker one more, within descriptorsAhead(). 0 where
// fewer than `least` fit, and the reader then stays idle.
inline std::size_t heldWithinDescriptors(std::size_t planned, std::size_t most, std::size_t least)
{
    const std::size_t descriptors = descriptorsAhead();
    if (descriptors < planned + least)
        return 0;
    return std::min(most, descriptors - planned);
}

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

// Whether the planned workers run, starting them on first use; planned becomes how many do.
template <typename Work>
bool workersReady(std::vector<std::jthread>& workers, std::size_t& planned, Work work)
{
    if (planned == 0)
        return false;
    planned = startWorkers(workers, planned, work);
    return planned > 0;
}

// On a worker, with the lock held: waits for the next queued item and takes it; nothing once
// the workers are to stop.
template <typename Queue>
std::optional<typename Queue::value_type> nextQueued(std::unique_lock<std::mutex>& lock,
                                                     std::condition_variable& queued,
                                                     const bool& stopping, Queue& queue)
{
    queued.wait(lock, [&] { return stopping || !queue.empty(); });
    if (stopping)
        return std::nullopt;
    auto item = std::move(queue.front());
    queue.pop_front();
    return item;
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
