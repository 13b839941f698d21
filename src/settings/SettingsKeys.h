#pragma once

#include "settings/StoredSettings.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <variant>

namespace twinfold
{

// The four reads of a settings file, each with its own defaults for a missing key.
enum class SettingsRead { StartUp, OptionsCreation, LoadSettings, Batch };

enum class KeyEncoding { Text, Boolean, Integer };

// Defaults that are places rather than constants, resolved when the file is read.
enum class DefaultPlace {
    FirstDriveRoot,   // the directory a Windows file calls "c:\"
    DefaultBatchFile, // the program directory + "tfoldw.tfw"
};

// A read that leaves the key alone.
struct NotRead {
};

using KeyDefault = std::variant<NotRead, std::string_view, bool, std::int32_t, DefaultPlace>;
using KeyField = std::variant<std::string StoredSettings::*, bool StoredSettings::*,
                              std::int32_t StoredSettings::*>;

struct SettingsKey {
    std::string_view section;
    std::string_view name;
    KeyEncoding encoding;
    KeyField field;
    KeyDefault startUp;
    KeyDefault optionsCreation;
    KeyDefault loadSettings;
    KeyDefault batch;

    constexpr const KeyDefault& defaultFor(SettingsRead read) const
    {
        switch (read) {
        case SettingsRead::StartUp:
            return startUp;
        case SettingsRead::OptionsCreation:
            return optionsCreation;
        case SettingsRead::LoadSettings:
            return loadSettings;
        case SettingsRead::Batch:
            break;
        }
        return batch;
    }
};

// Every key of a settings file, in the order a save writes them (which the bytes of a new file
// follow). The reads take their keys in the order of their own handlers, not of this table.
namespace settings_table
{
using Text = std::string_view;
using Int = std::int32_t;
} // namespace settings_table

inline constexpr std::array<SettingsKey, 13> SettingsKeys = [] {
    using namespace settings_table;
    return std::array<SettingsKey, 13>{{
        // clang-format off
        // section   key             encoding              field                          start-up                        options creation Load Settings                   batch
        {"Settings", "SourceDir",    KeyEncoding::Text,    &StoredSettings::SourceDir,    DefaultPlace::FirstDriveRoot,   NotRead{},       DefaultPlace::FirstDriveRoot,   Text("Invalid")},
        {"Settings", "DestDir",      KeyEncoding::Text,    &StoredSettings::DestDir,      DefaultPlace::FirstDriveRoot,   NotRead{},       DefaultPlace::FirstDriveRoot,   Text("Invalid")},
        {"Settings", "SaveSettings", KeyEncoding::Boolean, &StoredSettings::SaveSettings, true,                           NotRead{},       false,                          NotRead{}},
        {"Settings", "BatchDir",     KeyEncoding::Text,    &StoredSettings::BatchDir,     DefaultPlace::DefaultBatchFile, NotRead{},       DefaultPlace::DefaultBatchFile, NotRead{}},
        {"Settings", "SyncAll",      KeyEncoding::Boolean, &StoredSettings::SyncAll,      false,                          NotRead{},       false,                          false},
        {"Options",  "AutoContinue", KeyEncoding::Boolean, &StoredSettings::AutoContinue, NotRead{},                      false,           false,                          NotRead{}},
        {"Settings", "SelectAll",    KeyEncoding::Boolean, &StoredSettings::SelectAll,    false,                          NotRead{},       false,                          false},
        {"Options",  "Exclude",      KeyEncoding::Text,    &StoredSettings::Exclude,      NotRead{},                      Text(),          Text(),                         Text()},
        {"Options",  "Include",      KeyEncoding::Text,    &StoredSettings::Include,      NotRead{},                      Text(),          Text(),                         Text()},
        {"Options",  "CopyBuffer",   KeyEncoding::Integer, &StoredSettings::CopyBuffer,   NotRead{},                      Int{32768},      Int{32768},                     Int{32768}},
        {"Options",  "Filetype",     KeyEncoding::Integer, &StoredSettings::Filetype,     Int{0},                         NotRead{},       Int{0},                         Int{0}},
        {"Options",  "TimeShift",    KeyEncoding::Integer, &StoredSettings::TimeShift,    NotRead{},                      Int{0},          Int{0},                         Int{0}},
        {"Options",  "Jobs",         KeyEncoding::Integer, &StoredSettings::Jobs,         NotRead{},                      Int{DefaultJobs}, Int{DefaultJobs},             Int{DefaultJobs}},
        // clang-format on
    }};
}();

// A key of the table named in code; a name the table lacks does not compile.
class SettingsKeyName
{
public:
    consteval SettingsKeyName(const char* name) : m_index(indexOf(name)) {}
    constexpr const SettingsKey& key() const { return SettingsKeys[m_index]; }

private:
    static consteval std::size_t indexOf(std::string_view name)
    {
        for (std::size_t i = 0; i < SettingsKeys.size(); ++i) {
            if (SettingsKeys[i].name == name)
                return i;
        }
        throw "not a settings key";
    }

    std::size_t m_index;
};

} // namespace twinfold
