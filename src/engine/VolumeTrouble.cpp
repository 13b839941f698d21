#include "VolumeTrouble.h"

#include "platform/ErrorText.h"

namespace twinfold
{

void VolumeTrouble::copied()
{
    if (m_cause != Cause::None)
        m_copiedSince = true;
}

void VolumeTrouble::failed(int destinationError)
{
    if (destinationError == 0)
        return;
    const Cause cause = isReadOnlyVolume(destinationError) ? Cause::ReadOnly
                        : isVolumeFull(destinationError)   ? Cause::Full
                                                           : Cause::None;
    if (cause == Cause::None || (m_cause != Cause::None && cause != m_cause)) {
        m_otherFailure = true;
        return;
    }
    m_cause = cause;
    ++m_failures;
}

std::optional<std::string> VolumeTrouble::notice(const std::string& destination) const
{
    if (m_cause == Cause::None || m_otherFailure || m_copiedSince)
        return std::nullopt;
    const std::string failures = " (" + std::to_string(m_failures) + " failed).";
    if (m_cause == Cause::ReadOnly)
        return "Nothing can be written to " + destination + ": its volume is read-only" + failures;
    return "No space left for " + destination + ": its volume is full or over quota" + failures;
}

} // namespace twinfold
