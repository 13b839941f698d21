#pragma once

#include "settings/SyncSettings.h"

#include <cstdint>
#include <string>

namespace twinfold
{

// The thirteen keys of a settings file, each field named after its key: the run's own fields of
// SyncSettings, and the six whose values the main window's controls hold. Those six live here
// only on their way between a file and the controls; the controls stay their one home.
struct StoredSettings : SyncSettings {
    std::string SourceDir;
    std::string DestDir;
    bool SaveSettings = true;
    bool SyncAll = false;
    bool SelectAll = false;
    std::int32_t Filetype = 0; // -1 = no entry selected
    // A stored directory longer than a read returns comes back cut, and the cut text may name
    // another directory (an ancestor, or one whose name it begins with): it is never used.
    bool SourceDirCut = false;
    bool DestDirCut = false;
};

} // namespace twinfold
