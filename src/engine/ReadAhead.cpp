// Status lookups made ahead of the run, on worker threads.
#include "engine/ReadAhead.h"

#include "controls/FileListBox.h"
#include "engine/NewerThan.h"
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
    m_dropping = true;
    stopWorkers(m_mutex, m_queued, m_stopping, m_queue, m_workers);
}

void StatusReadAhead::request(int dirFd, const std::string& entry, bool followLinks)
{
    if (!workersReady(m_workers, m_planned, [this] { work(); }))
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
    std::optional<std::optional<FileStatus>> ahead;
    if (m_asked)
        ahead = takeAsked(Key{dirFd, entry, followLinks});
    if (side == Side::Destination && m_positions) {
        if (!ahead && !followLinks)
            ahead = takeStretched(dirFd, entry);
        m_lastTaken = entry;
    }
    if (ahead)
        return *ahead;
    // Timed until the side's lookups are known, then now and then.
    if (!timing(side))
        return statusAt(dirFd, entry, followLinks);
    const auto start = std::chrono::steady_clock::now();
    std::optional<FileStatus> status = statusAt(dirFd, entry, followLinks);
    timed(side, std::chrono::steady_clock::now() - start);
    return status;
}

std::optional<std::optional<FileStatus>> StatusReadAhead::takeAsked(const Key& key)
{
    std::unique_lock lock(m_mutex);
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
    return std::nullopt;
}

std::optional<std::optional<FileStatus>> StatusReadAhead::takeStretched(int dirFd,
                                                                        const std::string& entry)
{
    // The list may have changed at a poll: only the entry read for this very position counts.
    if (dirFd != m_listFd || m_position >= m_listLength || entry == m_lastTaken)
        return std::nullopt;
    Position& at = m_positions[m_position];
    if (at.entry != entry)
        return std::nullopt;
    // Not read by the worker yet, or under way: looked up here rather than waited for, which
    // costs no more.
    if (at.state.exchange(Done) != Looked)
        return std::nullopt;
    if (timing(Side::Destination))
        timed(Side::Destination, at.took);
    return at.status;
}

StatusReadAhead::Glimpse StatusReadAhead::glimpse(int dirFd, const std::string& entry,
                                                  bool followLinks, std::size_t position) const
{
    if (!active())
        return {};
    if (m_asked) {
        const std::lock_guard lock(m_mutex);
        const auto slot = m_slots.find(Key{dirFd, entry, followLinks});
        if (slot != m_slots.end()) {
            if (slot->second.state != State::Read)
                return {Glimpse::Coming, std::nullopt};
            return {Glimpse::Read, slot->second.status};
        }
    }
    if (followLinks || !m_positions || dirFd != m_listFd || position >= m_listLength)
        return {};
    const Position& at = m_positions[position];
    if (at.entry != entry)
        return {};
    switch (at.state.load()) {
    case Looked:
        return {Glimpse::Read, at.status};
    case Done:
        return {};
    default:
        // A stretch reaches every position near the pass before long.
        return {Glimpse::Coming, std::nullopt};
    }
}

bool StatusReadAhead::timing(Side side)
{
    Recent& recent = m_recent[static_cast<std::size_t>(side)];
    return recent.count < recent.took.size() || ++recent.untimed % 16 == 0;
}

void StatusReadAhead::timed(Side side, std::chrono::steady_clock::duration took)
{
    Recent& recent = m_recent[static_cast<std::size_t>(side)];
    recent.took[recent.next] = took;
    recent.next = (recent.next + 1) % recent.took.size();
    recent.count = std::min(recent.count + 1, recent.took.size());
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

bool StatusReadAhead::quick(Side side) const
{
    return m_recent[static_cast<std::size_t>(side)].count > 0 && !waits(side);
}

void StatusReadAhead::readStretch(int dirFd, std::size_t listLength, std::size_t from,
                                  std::vector<std::string> entries)
{
    if (!active() || (m_positions && (dirFd != m_listFd || listLength != m_listLength)))
        return;
    // One worker is all a stretch needs: the rest start only for lookups that wait.
    if (startWorkers(m_workers, 1, [this] { work(); }) == 0)
        return;
    const std::size_t to = std::min(listLength, from + entries.size());
    {
        const std::lock_guard lock(m_mutex);
        if (!m_positions) {
            m_positions = std::make_unique<Position[]>(listLength);
            m_listLength = listLength;
            m_listFd = dirFd;
        }
        for (std::size_t i = from; i < to; ++i) {
            Position& at = m_positions[i];
            if (entries[i - from].empty() || at.state != Unasked)
                continue;
            at.entry = std::move(entries[i - from]);
            at.state = Asked;
        }
        m_stretches.push_back({from, to});
    }
    m_queued.notify_one();
}

void StatusReadAhead::clear()
{
    if (!active())
        return;
    std::unique_lock lock(m_mutex);
    m_queue.clear();
    m_stretches.clear();
    m_dropping = true;
    m_read.wait(lock, [this] { return m_reading == 0; });
    m_dropping = false;
    m_slots.clear();
    m_asked = false;
    m_positions.reset();
    m_listLength = 0;
    m_listFd = -1;
    m_lastTaken.clear();
}

void StatusReadAhead::work()
{
    leaveSignalsToMainThread();
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_queued.wait(lock,
                      [this] { return m_stopping || !m_queue.empty() || !m_stretches.empty(); });
        if (m_stopping)
            return;
        if (!m_stretches.empty()) {
            const Stretch stretch = m_stretches.front();
            m_stretches.pop_front();
            ++m_reading;
            const int dirFd = m_listFd;
            Position* const positions = m_positions.get();
            lock.unlock();
            readStretch(dirFd, positions + stretch.from, positions + stretch.to);
            lock.lock();
            --m_reading;
            m_read.notify_all();
            continue;
        }
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

void StatusReadAhead::readStretch(int dirFd, Position* first, Position* last)
{
    for (Position* at = first; at != last && !m_dropping; ++at) {
        int state = Asked;
        if (!at->state.compare_exchange_strong(state, Looking))
            continue;
        try {
            const auto start = std::chrono::steady_clock::now();
            at->status = statusAt(dirFd, at->entry, false);
            at->took = std::chrono::steady_clock::now() - start;
        } catch (...) {
            // Left to the run, which looks it up again and meets the failure itself.
            at->state = Done;
            continue;
        }
        // Unless the run took it over meanwhile.
        state = Looking;
        at->state.compare_exchange_strong(state, Looked);
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
    m_ahead.passAt(static_cast<std::size_t>(index));
    // A directory made for the pass holds nothing to look up.
    const bool destinationLooked = !m_destination.madeForPass;
    if (destinationLooked && m_ahead.quick(StatusReadAhead::Side::Destination))
        stretchFrom(index);
    const bool sourceWaits = m_ahead.waits(StatusReadAhead::Side::Source);
    const bool destinationWaits =
        destinationLooked && m_ahead.waits(StatusReadAhead::Side::Destination);
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
        // Those of a stretch are the worker's already.
        if (destinationWaits && m_next >= m_stretched)
            m_ahead.request(m_destination.fd, m_destination.entry(name), false);
    }
}

ListReadAhead::Foresight ListReadAhead::foresee(int index, std::int64_t destinationShift) const
{
    using Glimpse = StatusReadAhead::Glimpse;
    const std::string& name = m_files.item(index);
    const auto destination = m_ahead.glimpse(m_destination.fd, m_destination.entry(name), false,
                                             static_cast<std::size_t>(index));
    if (destination.state == Glimpse::Coming)
        return Foresight::NotYetKnown;
    if (destination.state == Glimpse::NotRead) {
        // Entries not asked for yet are, once their lookups turn out to wait.
        const bool asked = index < m_next || index < m_stretched;
        return asked ? Foresight::NotCopied : Foresight::NotYetKnown;
    }
    // A source that the destination lacks is copied whatever its time.
    if (!destination.status)
        return Foresight::Copied;
    // Sources are read ahead, or worth looking up here, only for entries asked for.
    if (!destination.status->regular || index >= m_next)
        return Foresight::NotCopied;
    auto source = m_ahead.glimpse(m_source.fd, m_source.entry(name), true, 0);
    if (source.state == Glimpse::Coming)
        return Foresight::NotYetKnown;
    // A source not read ahead does not wait: looked up here where the copy it may spare does.
    if (source.state == Glimpse::NotRead) {
        if (!m_ahead.waits(StatusReadAhead::Side::Destination))
            return Foresight::NotCopied;
        source.status = statusAt(m_source.fd, m_source.entry(name), true);
    }
    return sourceIsNewer(source.status, destination.status, destinationShift)
               ? Foresight::Copied
               : Foresight::NotCopied;
}

void ListReadAhead::stretchFrom(int index)
{
    constexpr int Stretch = 64;
    if (m_stretched - index > Stretch / 2)
        return;
    const int from = std::max(m_stretched, index);
    const int to = std::min(m_files.count(), from + Stretch);
    if (from >= to)
        return;
    std::vector<std::string> entries;
    entries.reserve(static_cast<std::size_t>(to - from));
    for (int i = from; i < to; ++i) {
        if (m_selectedOnly && !m_files.selected(i))
            entries.emplace_back();
        else
            entries.push_back(m_destination.entry(m_files.item(i)));
    }
    m_ahead.readStretch(m_destination.fd, static_cast<std::size_t>(m_files.count()),
                        static_cast<std::size_t>(from), std::move(entries));
    m_stretched = to;
}

} // namespace twinfold
