// Status lookups made ahead of the run, on worker threads.
#include "engine/ReadAhead.h"

#include "controls/FileListBox.h"
#include "engine/Workers.h"
#include "platform/FileServices.h"
#include "platform/Termination.h"

#include <algorithm>

namespace twinfold
{

namespace
{

// A lookup that takes longer waited for something: a warm local lookup takes a few
// microseconds, a round trip to a share a hundred or more.
constexpr std::chrono::microseconds Waiting{50};

} // namespace

StatusReadAhead::StatusReadAhead(int jobs)
{
    if (jobs <= 1 || !fileServices().callableFromSeveralThreads())
        return;
    // The run's own thread is one of the jobs: it looks up whatever was not read ahead.
    m_planned = static_cast<std::size_t>(std::min(jobs, MaxJobs) - 1);
}

StatusReadAhead::~StatusReadAhead()
{
    stopWorkers(m_mutex, m_queued, m_stopping, m_queue, m_workers);
}

void StatusReadAhead::request(int dirFd, const std::string& entry, bool followLinks)
{
    if (!active())
        return;
    m_planned = startWorkers(m_workers, m_planned, [this] { work(); });
    if (!active())
        return;
    {
        const std::lock_guard lock(m_mutex);
        Key key{dirFd, entry, followLinks};
        if (!m_slots.try_emplace(key).second)
            return;
        m_asked = true;
        m_queue.push_back(std::move(key));
    }
    m_queued.notify_one();
}

std::optional<FileStatus> StatusReadAhead::take(Side side, int dirFd, const std::string& entry,
                                                bool followLinks)
{
    if (!active())
        return statusAt(dirFd, entry, followLinks);
    if (m_asked) {
        std::unique_lock lock(m_mutex);
        const Key key{dirFd, entry, followLinks};
        auto slot = m_slots.find(key);
        if (slot != m_slots.end() && slot->second.state == State::Reading) {
            m_read.wait(lock, [&] {
                slot = m_slots.find(key);
                return slot == m_slots.end() || slot->second.state != State::Reading;
            });
        }
        if (slot != m_slots.end() && slot->second.state == State::Read) {
            std::optional<FileStatus> status = slot->second.status;
            m_slots.erase(slot);
            return status;
        }
        // Not reached by a worker yet: looked up here rather than waited for.
        if (slot != m_slots.end()) {
            m_queue.erase(std::find(m_queue.begin(), m_queue.end(), key));
            m_slots.erase(slot);
        }
    }
    // Timed until the directory's lookups are known, then now and then.
    Recent& recent = m_recent[static_cast<std::size_t>(side)];
    if (recent.count == recent.took.size() && ++recent.untimed % 16 != 0)
        return statusAt(dirFd, entry, followLinks);
    const auto start = std::chrono::steady_clock::now();
    std::optional<FileStatus> status = statusAt(dirFd, entry, followLinks);
    recent.took[recent.next] = std::chrono::steady_clock::now() - start;
    recent.next = (recent.next + 1) % recent.took.size();
    recent.count = std::min(recent.count + 1, recent.took.size());
    return status;
}

bool StatusReadAhead::waits(Side side) const
{
    const Recent& recent = m_recent[static_cast<std::size_t>(side)];
    if (recent.count == 0)
        return false;
    const auto& took = recent.took;
    const auto end = took.begin() + static_cast<std::ptrdiff_t>(recent.count);
    return *std::min_element(took.begin(), end) >= Waiting;
}

void StatusReadAhead::clear()
{
    if (!active())
        return;
    std::unique_lock lock(m_mutex);
    m_queue.clear();
    m_read.wait(lock, [this] { return m_reading == 0; });
    m_slots.clear();
    m_asked = false;
}

void StatusReadAhead::work()
{
    leaveSignalsToMainThread();
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_queued.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
        if (m_stopping)
            return;
        const Key key = std::move(m_queue.front());
        m_queue.pop_front();
        Slot& slot = m_slots.at(key);
        slot.state = State::Reading;
        ++m_reading;
        lock.unlock();
        std::optional<FileStatus> status;
        bool read = true;
        try {
            status = statusAt(std::get<0>(key), std::get<1>(key), std::get<2>(key));
        } catch (...) {
            // Left to the run, which looks it up again and meets the failure itself.
            read = false;
        }
        lock.lock();
        --m_reading;
        // Nothing but this worker removes a slot under way, and a map keeps its elements where
        // they are.
        if (read) {
            slot.status = status;
            slot.state = State::Read;
        } else {
            m_slots.erase(key);
        }
        m_read.notify_all();
    }
}

ListReadAhead::ListReadAhead(StatusReadAhead& ahead, const FileListBox& files, bool selectedOnly,
                             const CopyDirectory& source, const CopyDirectory& destination)
    : m_ahead(ahead), m_files(files), m_selectedOnly(selectedOnly), m_source(source),
      m_destination(destination)
{
}

void ListReadAhead::at(int index)
{
    const auto window = static_cast<int>(m_ahead.window());
    if (window == 0)
        return;
    const bool sourceWaits = m_ahead.waits(StatusReadAhead::Side::Source);
    // A directory made for the pass holds nothing to look up.
    const bool destinationWaits =
        !m_destination.madeForPass && m_ahead.waits(StatusReadAhead::Side::Destination);
    // Entries passed over now are asked for once their lookups turn out to wait.
    if (!sourceWaits && !destinationWaits)
        return;
    // The list may have changed at a poll; what no longer matches is simply not taken.
    const int last = std::min(m_files.count() - 1, index + window);
    for (m_next = std::max(m_next, index + 1); m_next <= last; ++m_next) {
        if (m_selectedOnly && !m_files.selected(m_next))
            continue;
        const std::string& name = m_files.item(m_next);
        if (sourceWaits)
            m_ahead.request(m_source.fd, m_source.entry(name), true);
        if (destinationWaits)
            m_ahead.request(m_destination.fd, m_destination.entry(name), false);
    }
}

} // namespace twinfold
