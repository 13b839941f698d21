// Mirrored directories opened ahead of their passes, on worker threads.
#include "engine/MirroredReadAhead.h"

#include "engine/RunWindow.h"
#include "engine/TemporaryFile.h"
#include "engine/Workers.h"
#include "platform/FileServices.h"
#include "platform/Termination.h"

#include <algorithm>

namespace twinfold
{

namespace
{

// A pass over a directory takes longer than opening the next one and glancing over it, so a
// couple of workers keep well ahead; a wide directory's subdirectories are held a few at a
// time, since each holds a descriptor until its pass.
constexpr int MostWorkers = 2;
constexpr std::size_t MostHeld = 32;

} // namespace

MirroredReadAhead::MirroredReadAhead(int jobs, int destRoot, bool leftovers)
    : m_root(destRoot), m_leftovers(leftovers)
{
    if (jobs <= 1 || destRoot < 0 || !fileServices().callableFromSeveralThreads())
        return;
    const auto planned = static_cast<std::size_t>(std::min({jobs, MaxJobs, MostWorkers + 1}) - 1);
    // Each directory held keeps its descriptor, and a worker opens one more while it lists.
    m_mostHeld = heldWithinDescriptors(planned, MostHeld, 1);
    if (m_mostHeld > 0)
        m_planned = planned;
}

MirroredReadAhead::~MirroredReadAhead()
{
    stopWorkers(m_mutex, m_queued, m_stopping, m_queue, m_workers);
}

void MirroredReadAhead::request(const std::string& relative)
{
    if (!workersReady(m_workers, m_planned, [this] { work(); }))
        return;
    {
        const std::lock_guard lock(m_mutex);
        if (m_slots.size() >= m_mostHeld || !m_slots.try_emplace(relative).second)
            return;
        m_queue.push_back(relative);
    }
    m_queued.notify_one();
}

std::optional<MirroredReadAhead::Entered> MirroredReadAhead::take(const std::string& relative)
{
    if (!active())
        return std::nullopt;
    std::unique_lock lock(m_mutex);
    auto slot = m_slots.find(relative);
    if (slot == m_slots.end())
        return std::nullopt;
    m_read.wait(lock, [&] { return slot->second.state != State::Reading; });
    std::optional<Entered> entered;
    if (slot->second.state == State::Queued)
        m_queue.erase(std::find(m_queue.begin(), m_queue.end(), relative));
    else if (slot->second.entered && slot->second.entered->directory.isOpen())
        entered = std::move(slot->second.entered);
    m_slots.erase(slot);
    return entered;
}

MirroredReadAhead::Entered MirroredReadAhead::enter(const std::string& relative) const
{
    Entered entered{openDirectoryBelow(m_root, relative, {}), {}};
    if (m_leftovers && entered.directory.isOpen())
        entered.leftovers = findLeftoverTemporaries(entered.directory.handle.fd());
    return entered;
}

void MirroredReadAhead::work()
{
    leaveSignalsToMainThread();
    std::unique_lock lock(m_mutex);
    while (const auto next = nextQueued(lock, m_queued, m_stopping, m_queue)) {
        const std::string& relative = *next;
        // Only take() removes a slot, and it waits while one is being read; a map keeps its
        // elements where they are.
        Slot& slot = m_slots.at(relative);
        slot.state = State::Reading;
        lock.unlock();
        std::optional<Entered> entered;
        try {
            entered = enter(relative);
        } catch (...) {
            // Left to the pass, which opens it again and meets the failure itself.
        }
        lock.lock();
        slot.entered = std::move(entered);
        slot.state = State::Read;
        m_read.notify_all();
    }
}

} // namespace twinfold
