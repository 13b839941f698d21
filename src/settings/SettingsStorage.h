#pragma once

#include "settings/SettingsKeys.h"

#include <initializer_list>
#include <string>

namespace twinfold
{

class IniDocument;

// The keys one read takes from a file, each with that read's default when it is missing or
// not a valid value; the fields of keys the read leaves alone keep their record defaults.
// defaultBatchFile stands in for the default of BatchDir in the reads that take it.
StoredSettings readSettings(const IniDocument& file, SettingsRead read,
                            const std::string& defaultBatchFile = {});

// The keys of one entry of a batch file, as a batch run reads them.
StoredSettings readBatchEntry(const std::string& path);

// Sets the given keys in the document, in the order given.
void writeKeys(IniDocument& file, const StoredSettings& values,
               std::initializer_list<SettingsKeyName> keys);

// A save of the given keys, or of all thirteen in the table's order, into the file at path in one
// atomic replacement: it either holds every new value afterwards or stays as it was.
// Throws CommandError("Unable to write to " + path) when the file cannot be written.
void saveKeys(const std::string& path, const StoredSettings& values,
              std::initializer_list<SettingsKeyName> keys);
void saveSettings(const std::string& path, const StoredSettings& values);

} // namespace twinfold
