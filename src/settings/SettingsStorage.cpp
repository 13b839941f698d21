#include "settings/SettingsStorage.h"

#include "platform/IniDocument.h"

#include <algorithm>
#include <type_traits>

namespace twinfold
{

namespace
{

// A Windows settings file without SourceDir or DestDir stands for its first drive's root.
#ifdef _WIN32
constexpr std::string_view FirstDriveRoot = "c:\\";
#else
constexpr std::string_view FirstDriveRoot = "/";
#endif

constexpr bool fieldFits(const SettingsKey& key)
{
    switch (key.encoding) {
    case KeyEncoding::Text:
        return std::holds_alternative<std::string StoredSettings::*>(key.field);
    case KeyEncoding::Boolean:
        return std::holds_alternative<bool StoredSettings::*>(key.field);
    case KeyEncoding::Integer:
        break;
    }
    return std::holds_alternative<std::int32_t StoredSettings::*>(key.field);
}

constexpr bool defaultFits(const SettingsKey& key, const KeyDefault& value)
{
    if (std::holds_alternative<NotRead>(value))
        return true;
    switch (key.encoding) {
    case KeyEncoding::Text:
        return std::holds_alternative<std::string_view>(value) ||
               std::holds_alternative<DefaultPlace>(value);
    case KeyEncoding::Boolean:
        return std::holds_alternative<bool>(value);
    case KeyEncoding::Integer:
        break;
    }
    return std::holds_alternative<std::int32_t>(value);
}

static_assert(std::ranges::all_of(SettingsKeys,
                                  [](const SettingsKey& key) {
                                      return fieldFits(key) && defaultFits(key, key.startUp) &&
                                             defaultFits(key, key.optionsCreation) &&
                                             defaultFits(key, key.loadSettings) &&
                                             defaultFits(key, key.batch);
                                  }),
              "every field and default of the settings table has its key's encoding");

std::string textDefault(const KeyDefault& value, const std::string& defaultBatchFile)
{
    if (const auto* place = std::get_if<DefaultPlace>(&value))
        return *place == DefaultPlace::FirstDriveRoot ? std::string(FirstDriveRoot)
                                                      : defaultBatchFile;
    return std::string(std::get<std::string_view>(value));
}

void readKey(const IniDocument& file, const SettingsKey& key, const KeyDefault& value,
             const std::string& defaultBatchFile, StoredSettings& into)
{
    const std::string section(key.section);
    const std::string name(key.name);
    std::visit(
        [&](auto field) {
            using Field = std::remove_reference_t<decltype(into.*field)>;
            if constexpr (std::is_same_v<Field, std::string>)
                into.*field = file.readString(section, name, textDefault(value, defaultBatchFile));
            else if constexpr (std::is_same_v<Field, bool>)
                into.*field = file.readBool(section, name, std::get<bool>(value));
            else
                into.*field = file.readInteger(section, name, std::get<std::int32_t>(value));
        },
        key.field);
}

void writeKey(IniDocument& file, const SettingsKey& key, const StoredSettings& values)
{
    const std::string section(key.section);
    const std::string name(key.name);
    std::visit(
        [&](auto field) {
            using Field = std::remove_cvref_t<decltype(values.*field)>;
            if constexpr (std::is_same_v<Field, std::string>)
                file.setString(section, name, values.*field);
            else if constexpr (std::is_same_v<Field, bool>)
                file.setBool(section, name, values.*field);
            else
                file.setInteger(section, name, values.*field);
        },
        key.field);
}

} // namespace

StoredSettings readSettings(const IniDocument& file, SettingsRead read,
                            const std::string& defaultBatchFile)
{
    StoredSettings values;
    for (const SettingsKey& key : SettingsKeys) {
        const KeyDefault& value = key.defaultFor(read);
        if (!std::holds_alternative<NotRead>(value))
            readKey(file, key, value, defaultBatchFile, values);
    }
    values.SourceDirCut = file.valueCut("Settings", "SourceDir");
    values.DestDirCut = file.valueCut("Settings", "DestDir");
    return values;
}

StoredSettings readBatchEntry(const std::string& path)
{
    return readSettings(IniDocument::load(path), SettingsRead::Batch);
}

void writeKeys(IniDocument& file, const StoredSettings& values,
               std::initializer_list<SettingsKeyName> keys)
{
    for (const SettingsKeyName& key : keys)
        writeKey(file, key.key(), values);
}

void saveKeys(const std::string& path, const StoredSettings& values,
              std::initializer_list<SettingsKeyName> keys)
{
    IniDocument file = IniDocument::load(path);
    writeKeys(file, values, keys);
    file.save();
}

void saveSettings(const std::string& path, const StoredSettings& values)
{
    IniDocument file = IniDocument::load(path);
    for (const SettingsKey& key : SettingsKeys)
        writeKey(file, key, values);
    file.save();
}

} // namespace twinfold
