#pragma once

#include <cstddef>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace twinfold
{

// Starts the planned number of threads running work, unless they run already, and gives how
// many run. A system that gives no more threads means fewer in flight, not a failed run.
template <typename Work>
std::size_t startWorkers(std::vector<std::jthread>& workers, std::size_t planned, Work work)
{
    if (!workers.empty())
        return workers.size();
    try {
        workers.reserve(planned);
        for (std::size_t i = 0; i < planned; ++i)
            workers.emplace_back(work);
    } catch (const std::system_error&) {
    }
    return workers.size();
}

} // namespace twinfold
