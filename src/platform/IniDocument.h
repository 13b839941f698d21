#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace twinfold
{

// A profile (INI) file read once, read and changed in memory, and written back once. The rules:
// - "[Name]" opens a section; section and key names match without regard to case and without
//   their surrounding blanks; the first matching section and key win on reading;
// - lines starting with ";" are comments; "key=value" with blanks around key and value dropped;
//   a value in matching double or single quotes loses them on reading;
// - a read returns at most 2047 characters; a missing file, section or key gives the default;
// - setting a value replaces the first matching key's value, or adds the key at the end of its
//   section, or the section at the end of the file; every other line stays byte for byte; LF
//   and CRLF files are both read and a file keeps its line-end style;
// - a UTF-8 byte order mark at the start is skipped; a NUL byte ends a line's value.
// Any number of values set and saved once give the very bytes that as many single writes, each
// reading the file afresh, would have left. The save replaces the file atomically, so a crash
// or a failure leaves either the old file or the new one, never a mixture of their values.
class IniDocument
{
public:
    static constexpr std::size_t MaxValueLength = 2047;

    // A file that is missing or cannot be read gives an empty document; saving one that exists
    // but could not be read fails rather than replace contents it never saw.
    static IniDocument load(const std::string& path);

    const std::string& path() const noexcept { return m_path; }

    std::optional<std::string> value(const std::string& section, const std::string& key) const;
    // Whether the stored value is longer than a read returns, so that value() gives it cut.
    bool valueCut(const std::string& section, const std::string& key) const;
    std::string readString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;
    // Integers: leading blanks and a sign allowed; "$", "0x", "0X", "x" or "X" introduce
    // hexadecimal; anything that is not a valid 32-bit number gives the default.
    std::int32_t readInteger(const std::string& section, const std::string& key,
                             std::int32_t defaultValue) const;
    // Booleans are integers; any value other than 0 is true.
    bool readBool(const std::string& section, const std::string& key, bool defaultValue) const;
    // Every key of one section: key names in lower case (letters a to z), the first of equal
    // keys winning, values as readString gives them.
    std::unordered_map<std::string, std::string> readSection(const std::string& section) const;

    // A line break in a name or value is cut off there: it would change the file's structure.
    // A value with blanks at either end, or in a pair of quotes, is written in double quotes,
    // since reading would strip them.
    void setString(const std::string& section, const std::string& key, const std::string& value);
    // The text a value is stored as (on one line, quoted where reading would change it), for
    // writers that compose a whole file themselves.
    static std::string storedValue(const std::string& value);
    void setInteger(const std::string& section, const std::string& key, std::int32_t value);
    void setBool(const std::string& section, const std::string& key, bool value);

    // The file's bytes as the document stands.
    std::string contents() const;
    // Throws CommandError("Unable to write to " + path) when the file cannot be written.
    void save() const;

    static bool parseInteger(const std::string& text, std::int32_t& result);

private:
    // One physical line; the line end is kept apart so that untouched lines go back as they were.
    struct Line {
        std::string text;
        std::string end; // "\n", "\r\n", or "" for a last line without one
    };

    IniDocument() = default;

    std::optional<std::size_t> findSection(const std::string& section) const;
    std::size_t sectionEnd(std::size_t header) const;
    std::optional<std::size_t> findKey(std::size_t begin, std::size_t end,
                                       const std::string& key) const;
    std::string lineEnd() const;
    void terminate(Line& line, const std::string& end);
    void insertLineAfter(std::size_t index, std::string text, const std::string& end);
    void appendSection(const std::string& section, std::string keyLine, const std::string& end);

    std::string m_path;
    bool m_unreadable = false;
    std::string m_bom;
    std::vector<Line> m_lines;
};

} // namespace twinfold
