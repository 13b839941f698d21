#pragma once

#include "engine/BufferedCopy.h"

#include <chrono>
#include <cstdint>
#include <functional>

namespace twinfold
{

class TSyncBox;
class WindowingServices;

// The polls of one copy. A large file takes minutes to copy onto a slow volume, and a window
// that neither paints nor answers for that long looks hung; so while the bytes move, the
// interface gets its pending events and the progress window the file's progress, at most every
// PollInterval rather than at every buffer. A Cancel confirmed at such a poll abandons the copy
// when it still has more than MostLeftToFinish to go at its pace so far; a copy closer to its
// end is finished, and the run stops at its next poll between files.
class CopyPolls final : public CopyWatcher
{
public:
    static constexpr std::chrono::milliseconds PollInterval{50};
    static constexpr std::chrono::seconds MostLeftToFinish{1};

    // cancelled is the run's poll: it lets the interface process its pending events and says
    // whether the user confirmed Cancel.
    CopyPolls(WindowingServices& services, TSyncBox& syncBox, std::function<bool()> cancelled);
    ~CopyPolls(); // the progress window shows no file's progress any more
    CopyPolls(const CopyPolls&) = delete;
    CopyPolls& operator=(const CopyPolls&) = delete;

    bool goOn(std::int64_t copied, std::int64_t size) override;
    // Whether a Cancel was confirmed during the copy, abandoning it or not.
    bool cancelled() const { return m_cancelled; }

private:
    // Whether the rest takes at most MostLeftToFinish at the pace of the time spent copying.
    static bool nearTheEnd(std::chrono::steady_clock::duration copying, std::int64_t copied,
                           std::int64_t size);

    WindowingServices& m_services;
    TSyncBox& m_syncBox;
    std::function<bool()> m_cancelledAtPoll;
    std::chrono::steady_clock::time_point m_started;
    std::chrono::steady_clock::time_point m_polled;
    std::chrono::steady_clock::duration m_waited{};
    bool m_cancelled = false;
};

} // namespace twinfold
