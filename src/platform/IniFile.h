#pragma once

#include "IniDocument.h"

#include <cstdint>
#include <string>
#include <unordered_map>

// Single reads and writes of profile (INI) files, for callers that need one key: each call
// loads the file afresh, and each write saves it at once. The rules are IniDocument's.
namespace twinfold::IniFile
{

inline constexpr std::size_t MaxValueLength = IniDocument::MaxValueLength;

std::string readString(const std::string& path, const std::string& section, const std::string& key,
                       const std::string& defaultValue);

// Every key of one section in one reading, as IniDocument::readSection gives them.
std::unordered_map<std::string, std::string> readSection(const std::string& path,
                                                         const std::string& section);

std::int32_t readInteger(const std::string& path, const std::string& section,
                         const std::string& key, std::int32_t defaultValue);

bool readBool(const std::string& path, const std::string& section, const std::string& key,
              bool defaultValue);

// Throws CommandError("Unable to write to " + path) when the file cannot be written.
void writeString(const std::string& path, const std::string& section, const std::string& key,
                 const std::string& value);

// The integer parse on its own, for values that come from elsewhere.
bool parseInteger(const std::string& text, std::int32_t& result);

} // namespace twinfold::IniFile
