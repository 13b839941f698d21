#pragma once

#include "engine/RunWindow.h"

#include <cstdint>
#include <string>

namespace twinfold
{

// The inputs of one run, each field named after its key in the settings file. The directories,
// the two flags, the file type and "Save Settings on Exit" are held by the main window's
// controls; the fields here are the ones no main-window control shows (StoredSettings adds the
// others, for the settings file).
struct SyncSettings {
    std::string Include;             // include masks as last applied, each followed by ";"
    std::string Exclude;             // exclude masks as last applied
    std::int32_t CopyBuffer = 32768; // bytes
    bool AutoContinue = false;       // failed copies are logged without a message box
    std::string BatchDir;            // the current batch file (a file path)
    // Hours the destination's times read later than the source's (negative: earlier); 0: none
    // set, the run judges from what it sees.
    std::int32_t TimeShift = 0;
    // Status lookups a run keeps in flight (see RunChoices::jobs).
    std::int32_t Jobs = DefaultJobs;
    // Not stored: set for one run from the command line. Every copy and its directory are
    // synced before the copy counts as done.
    bool Fsync = false;
};

// The widest time shift a setting may name: a day either way. A hand-edited value beyond it
// stands for no shift rather than for a clock no volume keeps.
inline constexpr std::int32_t MaxTimeShift = 24;
inline std::int32_t usableTimeShift(std::int32_t hours)
{
    return hours >= -MaxTimeShift && hours <= MaxTimeShift ? hours : 0;
}

} // namespace twinfold
