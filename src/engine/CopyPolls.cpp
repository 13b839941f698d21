#include "engine/CopyPolls.h"

#include "engine/SyncBox.h"
#include "platform/Windowing.h"

#include <utility>

namespace twinfold
{

CopyPolls::CopyPolls(WindowingServices& services, TSyncBox& syncBox,
                     std::function<bool()> cancelled)
    : m_services(services), m_syncBox(syncBox), m_cancelledAtPoll(std::move(cancelled)),
      m_started(services.now()), m_polled(m_started)
{
}

CopyPolls::~CopyPolls()
{
    // Whatever ended the copy: a display is no reason to fail anything.
    try {
        m_syncBox.setFileProgress(0, 0);
    } catch (...) {
    }
}

bool CopyPolls::goOn(std::int64_t copied, std::int64_t size)
{
    // Once the user confirmed Cancel and the copy is finished after all, it is not asked again.
    // A copy whose bytes are all there has nothing left to give up.
    if (m_cancelled || (size > 0 && copied >= size))
        return true;
    const auto now = m_services.now();
    if (now - m_polled < PollInterval)
        return true;
    // The pace is the copy's own: the time the interface took at the polls before (a question
    // answered No) is left out.
    const auto copying = now - m_started - m_waited;
    m_syncBox.setFileProgress(copied, size);
    const bool cancelled = m_cancelledAtPoll();
    m_polled = m_services.now();
    m_waited += m_polled - now;
    if (!cancelled)
        return true;
    m_cancelled = true;
    return nearTheEnd(copying, copied, size);
}

bool CopyPolls::nearTheEnd(std::chrono::steady_clock::duration copying, std::int64_t copied,
                           std::int64_t size)
{
    // A file of unknown size, or one whose pace cannot be told yet, may go on for any time.
    const auto taken = std::chrono::duration_cast<std::chrono::microseconds>(copying);
    if (size <= 0 || copied <= 0 || taken.count() <= 0)
        return false;
    // The time the rest takes at the pace so far, against the most a person waits for it.
    const double left = static_cast<double>(size - copied) / static_cast<double>(copied) *
                        static_cast<double>(taken.count());
    return left <=
           static_cast<double>(
               std::chrono::duration_cast<std::chrono::microseconds>(MostLeftToFinish).count());
}

} // namespace twinfold
