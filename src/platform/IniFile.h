#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

namespace twinfold
{

// Profile (INI) files with the classic semantics:
// - "[Name]" opens a section; section and key names match without regard to case and without
//   their surrounding blanks; the first matching section and key win on reading;
// - lines starting with ";" are comments; "key=value" with blanks around key and value dropped;
//   a value in matching double or single quotes loses them on reading;
// - a read returns at most 2047 characters; a missing file, section or key gives the default;
// - a write replaces the first matching key's value, or adds the key at the end of its
//   section, or the section at the end of the file, or creates the file; every other line stays
//   byte for byte; LF and CRLF files are both read and a file keeps its line-end style;
// - a UTF-8 byte order mark at the start is skipped; a NUL byte ends a line's value.
// Every call reads the file afresh. A write goes to a temporary file in the same directory that
// is renamed over the original, so a crash never leaves a half-written file.
namespace IniFile
{

inline constexpr std::size_t MaxValueLength = 2047;

std::string readString(const std::string& path, const std::string& section, const std::string& key,
                       const std::string& defaultValue);

// Every key of one section in one reading, for readers of many keys: key names in lower case
// (letters a to z), the first of equal keys winning, values as readString gives them.
std::unordered_map<std::string, std::string> readSection(const std::string& path,
                                                         const std::string& section);

// Integers: leading blanks and a sign allowed; "$", "0x", "0X", "x" or "X" introduce hexadecimal;
// anything that is not a valid 32-bit number gives the default.
std::int32_t readInteger(const std::string& path, const std::string& section,
                         const std::string& key, std::int32_t defaultValue);

// Booleans are integers; any value other than 0 is true.
bool readBool(const std::string& path, const std::string& section, const std::string& key,
              bool defaultValue);

// Throws CommandError("Unable to write to " + path) when the file cannot be written.
void writeString(const std::string& path, const std::string& section, const std::string& key,
                 const std::string& value);
void writeInteger(const std::string& path, const std::string& section, const std::string& key,
                  std::int32_t value);
void writeBool(const std::string& path, const std::string& section, const std::string& key,
               bool value);

// The integer parse on its own, for values that come from elsewhere.
bool parseInteger(const std::string& text, std::int32_t& result);

} // namespace IniFile
} // namespace twinfold
