// Copies made ahead of their turn, on worker threads.
#include "engine/CopyAhead.h"

#include "engine/RunWindow.h"
#include "engine/TemporaryFile.h"
#include "engine/Workers.h"
#include "platform/FileServices.h"
#include "platform/Termination.h"
#include "platform/ThreadWaits.h"

#include <algorithm>
#include <chrono>

namespace twinfold
{

CopyAhead::CopyAhead(int jobs)
{
    if (jobs <= 1 || !fileServices().callableFromSeveralThreads())
        return;
    // The run's own thread is one of the jobs: it installs, and copies what was not made ahead.
    const auto planned = static_cast<std::size_t>(std::min(jobs, MaxJobs) - 1);
    // A copy held keeps its file open, one under way its source besides.
    m_maxFiles = heldWithinDescriptors(planned, MaxFiles, 2);
    if (m_maxFiles > 0)
        m_planned = planned;
}

CopyAhead::~CopyAhead()
{
    clear();
    stopWorkers(m_mutex, m_queued, m_stopping, m_queue, m_workers);
}

bool CopyAhead::request(const CopyDirectory& source, const CopyDirectory& destination,
                        const std::string& name, const CopyRequest& request)
{
    if (!active())
        return false;
    // One worker until copies turn out to wait: where they only take the processor, more
    // workers than one take it from the run and from each other.
    if (startWorkers(m_workers, m_copiesWait ? m_planned : 1, [this] { work(); }) == 0)
        return false;
    {
        const std::lock_guard lock(m_mutex);
        if (m_slots.size() >= m_maxFiles)
            return false;
        if (m_slots.contains(name))
            return true;
        Slot& slot = m_slots[name];
        slot.source = source;
        slot.destination = destination;
        slot.request = request;
        slot.request.watcher = nullptr;
        m_queue.push_back(name);
    }
    m_queued.notify_one();
    return true;
}

std::optional<PreparedCopy> CopyAhead::take(const std::string& name,
                                            const std::function<bool()>& goOn)
{
    if (!active())
        return std::nullopt;
    std::unique_lock lock(m_mutex);
    auto slot = m_slots.find(name);
    if (slot == m_slots.end())
        return std::nullopt;
    // Under way: waited for, with the interface answered meanwhile.
    while (slot->second.state == State::Making) {
        if (m_made.wait_for(lock, std::chrono::milliseconds(10),
                            [&] { return slot->second.state != State::Making; }))
            break;
        lock.unlock();
        const bool waiting = goOn();
        lock.lock();
        if (!waiting) {
            slot->second.dropped = true;
            return std::nullopt;
        }
    }
    std::optional<PreparedCopy> copy;
    if (slot->second.state == State::Made && slot->second.copy && slot->second.copy->output)
        copy = std::move(slot->second.copy);
    forget(slot);
    return copy;
}

void CopyAhead::drop(const std::string& name)
{
    if (!active())
        return;
    const std::lock_guard lock(m_mutex);
    const auto slot = m_slots.find(name);
    if (slot == m_slots.end())
        return;
    if (slot->second.state == State::Making)
        slot->second.dropped = true;
    else
        forget(slot);
}

void CopyAhead::forget(std::map<std::string, Slot>::iterator slot)
{
    if (slot->second.state == State::Queued)
        m_queue.erase(std::find(m_queue.begin(), m_queue.end(), slot->first));
    if (slot->second.copy)
        m_held -= slot->second.copy->held;
    m_slots.erase(slot);
}

bool CopyAhead::leavesSpare(int destinationFd, std::int64_t size)
{
    {
        // Far more room than copies ahead can take when last looked: not asked again (a round
        // trip on a share) until the copies since could have used it up.
        const std::lock_guard lock(m_mutex);
        if (m_roomSeen - m_takenSinceLook - size >= SpareBytes + MaxBytes) {
            m_takenSinceLook += size;
            return true;
        }
    }
    const auto free = fileServices().freeSpace(destinationFd);
    const std::lock_guard lock(m_mutex);
    m_roomSeen = free.ok() ? free.value : -1;
    m_takenSinceLook = size;
    return free.ok() && free.value - size >= SpareBytes;
}

void CopyAhead::makeRoomFor(int destinationFd, std::int64_t size)
{
    if (!active())
        return;
    {
        const std::lock_guard lock(m_mutex);
        if (m_held == 0)
            return;
    }
    // Copies ahead may take up to MaxBytes while this one is made: unless the volume has room
    // for all of them beside it, they give their space back, and this copy meets the volume as
    // it would one file at a time.
    const auto free = fileServices().freeSpace(destinationFd);
    if (!free.ok() || free.value < size + MaxBytes)
        clear();
}

void CopyAhead::clear()
{
    if (!active())
        return;
    std::unique_lock lock(m_mutex);
    m_queue.clear();
    m_made.wait(lock, [this] { return m_making == 0; });
    // The copies held go with their slots: their files are closed, the named ones removed.
    m_slots.clear();
    m_held = 0;
    // The next pass may write to another volume.
    m_roomSeen = -1;
}

void CopyAhead::noteMade(bool waited)
{
    m_recentWaits[m_madeCount % m_recentWaits.size()] = waited;
    ++m_madeCount;
    if (m_madeCount >= m_recentWaits.size() &&
        std::all_of(m_recentWaits.begin(), m_recentWaits.end(), [](bool wait) { return wait; }))
        m_copiesWait = true;
}

void CopyAhead::work()
{
    leaveSignalsToMainThread();
    std::unique_lock lock(m_mutex);
    while (const auto next = nextQueued(lock, m_queued, m_stopping, m_queue)) {
        const std::string& name = *next;
        Slot& slot = m_slots.at(name);
        slot.state = State::Making;
        ++m_making;
        lock.unlock();
        std::int64_t reserved = 0;
        const auto mayHold = [&](std::int64_t size) {
            if (!leavesSpare(slot.destination.fd, size))
                return false;
            const std::lock_guard held(m_mutex);
            if (m_held + size > MaxBytes)
                return false;
            m_held += size;
            reserved = size;
            return true;
        };
        std::optional<PreparedCopy> copy;
        const std::int64_t waitsBefore = threadWaits();
        try {
            copy = prepareCopyAt(slot.source, slot.destination, name, slot.request, mayHold);
        } catch (...) {
            // Left to its turn, which meets whatever happened itself.
            copy.reset();
        }
        const bool waited = threadWaits() > waitsBefore;
        lock.lock();
        --m_making;
        if (copy && copy->output)
            noteMade(waited);
        // Nothing but this worker removes a slot under way, and a map keeps its elements where
        // they are.
        if (!copy)
            m_held -= reserved;
        slot.copy = std::move(copy);
        slot.state = State::Made;
        if (slot.dropped) {
            // Its file goes at once, outside the lock.
            std::optional<PreparedCopy> gone = std::move(slot.copy);
            forget(m_slots.find(name));
            lock.unlock();
            gone.reset();
            lock.lock();
        }
        m_made.notify_all();
    }
}

} // namespace twinfold
