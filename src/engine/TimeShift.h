#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace twinfold
{

struct FileStatus;

inline constexpr std::int64_t SecondsPerHour = 3600;

// What one run's pairs of files say about the destination's clock.
//
// A volume that keeps local time without a zone (FAT, exFAT) reads every time a whole number
// of hours off when it is read with another offset than it was written with. Unchanged files
// then show it plainly: source and destination of equal size whose times stand exactly one or
// two hours apart, to the two-second step. Files that were really changed leave no such mark:
// an edit falls at any time, not at the same whole hour after every file's last copy.
class TimeShiftEvidence
{
public:
    static constexpr int MaxHours = 2;
    // Fewer pairs than this at one shift can be chance (a file rewritten on the hour).
    static constexpr int MinimumPairs = 3;

    // One source and destination pair of regular files; only pairs of equal size are evidence.
    void observe(const FileStatus& source, const FileStatus& destination);

    // The pairs whose destination reads exactly `hours` later (negative: earlier) than its
    // source, within the two-second step; hours from -2 to 2, not 0.
    int shifted(int hours) const;

    // The number of hours the destination reads late where the evidence leaves no doubt,
    // otherwise 0. Only a late reading is ever compensated of itself: compensating it can only
    // add copies (of files changed within the shifted hours), never leave out one that the
    // plain comparison copies. It is unambiguous when at least MinimumPairs pairs stand at that
    // shift, no pair stands at another whole-hour shift (two clocks), and the shifted pairs are
    // at least twice as many as the equal-size pairs whose times differ in any other way.
    int unambiguousLateHours() const;

private:
    std::array<int, 2 * MaxHours + 1> m_shifted{}; // by hours + MaxHours; [MaxHours] unused
    int m_otherwise = 0;                           // times apart by anything but whole hours
};

// How the run dealt with a shift it saw.
enum class ShiftHandling {
    Compensated,    // by the evidence
    ByTheSetting,   // the time shift setting names it
    NotCompensated, // a late reading the evidence leaves in doubt
    CopiedAgain,    // an early reading: every such file is copied, as by the plain rule
};

// The run's notice of a shift it saw: which destination, what shift, how many files.
std::string timeShiftNotice(const std::string& destination, int hours, int files,
                            ShiftHandling handling);

// The run's notice of a copy whose time the destination's file system did not keep.
std::string timeNotKeptNotice(const std::string& destination, const std::string& file,
                              std::int64_t set, std::int64_t kept);

} // namespace twinfold
