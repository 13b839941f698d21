#pragma once

#include "engine/BufferedCopy.h"

#include <chrono>
#include <cstdint>

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

    CopyPolls(WindowingServices& services, TSyncBox& syncBox);
    ~CopyPolls(); // the progress window shows no file's progress any more
    CopyPolls(const CopyPolls&) = delete;
    CopyPolls& operator=(const CopyPolls&) = delete;

    bool goOn(std::int64_t copied, std::int64_t size) override;
    // Whether a Cancel was confirmed during the copy, abandoning it or not.
    bool cancelled() const { return m_cancelled; }

private:
    bool nearTheEnd(std::chrono::steady_clock::time_point now, std::int64_t copied,
                    std::int64_t size) const;

    WindowingServices& m_services;
    TSyncBox& m_syncBox;
    std::chrono::steady_clock::time_point m_started;
    std::chrono::steady_clock::time_point m_polled;
    bool m_cancelled = false;
};

} // namespace twinfold
