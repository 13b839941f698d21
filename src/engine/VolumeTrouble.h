#pragma once

#include <optional>
#include <string>

namespace twinfold
{

// A destination whose volume is read-only or full fails every copy into it with the designed
// per-file messages, which do not say why ("Could not create destination file: ...").
// VolumeTrouble follows the outcomes of one run's copies into its destination and words that
// cause once for the whole run, when every failure on the destination's side had it and
// nothing was copied after the first of them (a volume that filled up during the run counts;
// one that failed some copies for this cause and others for another does not). Failures on
// the source's side, and copies refused before they start, say nothing about the volume.
class VolumeTrouble
{
public:
    void copied();
    // A failed copy (or directory) of the run, with the system's error number of its failure
    // on the destination's side (0 for a failure on the source's side or without one, which
    // is not counted).
    void failed(int destinationError);
    // The line for the run into destination; nothing when no single cause explains it.
    std::optional<std::string> notice(const std::string& destination) const;

private:
    enum class Cause { None, ReadOnly, Full };

    Cause m_cause = Cause::None;
    int m_failures = 0;
    bool m_otherFailure = false;
    bool m_copiedSince = false;
};

} // namespace twinfold
