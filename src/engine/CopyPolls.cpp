#include "engine/CopyPolls.h"

#include "engine/SyncBox.h"
#include "platform/Windowing.h"

namespace twinfold
{

CopyPolls::CopyPolls(WindowingServices& services, TSyncBox& syncBox)
    : m_services(services), m_syncBox(syncBox), m_started(services.now()), m_polled(m_started)
{
}

CopyPolls::~CopyPolls()
{
    m_syncBox.setFileProgress(0, 0);
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
    m_polled = now;
    m_syncBox.setFileProgress(copied, size);
    m_services.processPendingEvents();
    if (m_syncBox.ModalResult != TSyncBox::mrCancel)
        return true;
    m_cancelled = true;
    return nearTheEnd(now, copied, size);
}

bool CopyPolls::nearTheEnd(std::chrono::steady_clock::time_point now, std::int64_t copied,
                           std::int64_t size) const
{
    // A file of unknown size, or one whose pace cannot be told yet, may go on for any time.
    const auto taken = std::chrono::duration_cast<std::chrono::microseconds>(now - m_started);
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
