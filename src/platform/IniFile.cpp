#include "IniFile.h"

#include "AtomicFile.h"
#include "ErrorText.h"

#include <cerrno>
#include <limits>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace twinfold::IniFile
{

namespace
{

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";

// One physical line; the line end is kept apart so that untouched lines go back byte for byte.
struct Line {
    std::string text;
    std::string end; // "\n", "\r\n", or "" for a last line without one
};

struct Document {
    std::string bom;
    std::vector<Line> lines;
};

enum class LineKind { Other, Section, Key };

struct LineInfo {
    LineKind kind = LineKind::Other;
    std::string_view name;
    std::size_t valueStart = 0; // for keys: the first byte after "=" and the blanks after it
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trim(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// ASCII only: names are bytes, and the C library's tolower would depend on the locale.
char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i]) != asciiLower(b[i]))
            return false;
    }
    return true;
}

Document parseDocument(std::string_view contents)
{
    Document document;
    if (contents.starts_with(Utf8Bom)) {
        document.bom = Utf8Bom;
        contents.remove_prefix(Utf8Bom.size());
    }
    while (!contents.empty()) {
        const auto newline = contents.find('\n');
        Line line;
        if (newline == std::string_view::npos) {
            line.text = contents;
            contents = {};
        } else {
            line.text = contents.substr(0, newline);
            line.end = "\n";
            contents.remove_prefix(newline + 1);
            if (!line.text.empty() && line.text.back() == '\r') {
                line.text.pop_back();
                line.end = "\r\n";
            }
        }
        document.lines.push_back(std::move(line));
    }
    return document;
}

std::string joinDocument(const Document& document)
{
    std::string contents = document.bom;
    for (const Line& line : document.lines)
        contents.append(line.text).append(line.end);
    return contents;
}

std::string lineEndOf(const Document& document)
{
    return !document.lines.empty() && document.lines.front().end == "\r\n" ? "\r\n" : "\n";
}

LineInfo classify(std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    const std::string_view content = trim(text);
    LineInfo info;
    if (content.empty() || content.front() == ';')
        return info;
    if (content.front() == '[') {
        const std::string_view inside = content.substr(1);
        info.kind = LineKind::Section;
        info.name = trim(inside.substr(0, inside.find(']')));
        return info;
    }
    const auto equals = text.find('=');
    if (equals == std::string_view::npos)
        return info;
    info.kind = LineKind::Key;
    info.name = trim(text.substr(0, equals));
    info.valueStart = equals + 1;
    while (info.valueStart < text.size() && isBlank(text[info.valueStart]))
        ++info.valueStart;
    return info;
}

std::string valueOf(std::string_view text, std::size_t valueStart)
{
    text = text.substr(0, text.find('\0'));
    std::string_view value = trim(text.substr(valueStart));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value.substr(0, MaxValueLength));
}

std::optional<std::size_t> findSection(const Document& document, std::string_view section)
{
    for (std::size_t i = 0; i < document.lines.size(); ++i) {
        const LineInfo info = classify(document.lines[i].text);
        if (info.kind == LineKind::Section && equalNoCase(info.name, section))
            return i;
    }
    return std::nullopt;
}

std::size_t sectionEnd(const Document& document, std::size_t header)
{
    std::size_t i = header + 1;
    while (i < document.lines.size() && classify(document.lines[i].text).kind != LineKind::Section)
        ++i;
    return i;
}

std::optional<std::size_t> findKey(const Document& document, std::size_t begin, std::size_t end,
                                   std::string_view key)
{
    for (std::size_t i = begin; i < end; ++i) {
        const LineInfo info = classify(document.lines[i].text);
        if (info.kind == LineKind::Key && equalNoCase(info.name, key))
            return i;
    }
    return std::nullopt;
}

// Only the first section of a name is searched: a later duplicate is dead text, as in the
// classic profile functions.
std::optional<std::string> lookUp(const std::string& path, std::string_view section,
                                  std::string_view key)
{
    std::string contents;
    int error = 0;
    if (!readRegularFile(path, contents, error))
        return std::nullopt;
    const Document document = parseDocument(contents);
    const auto header = findSection(document, trim(section));
    if (!header)
        return std::nullopt;
    const auto line = findKey(document, *header + 1, sectionEnd(document, *header), trim(key));
    if (!line)
        return std::nullopt;
    const std::string& text = document.lines[*line].text;
    return valueOf(text, classify(text).valueStart);
}

// A line break inside a name or value would split the line and change the file's structure.
std::string singleLine(std::string_view text)
{
    return std::string(text.substr(0, text.find_first_of("\r\n")));
}

void insertLineAfter(Document& document, std::size_t index, std::string text,
                     const std::string& end)
{
    Line& previous = document.lines[index];
    if (previous.end.empty())
        previous.end = end;
    document.lines.insert(document.lines.begin() + static_cast<std::ptrdiff_t>(index) + 1,
                          Line{std::move(text), end});
}

void appendSection(Document& document, const std::string& section, const std::string& keyLine,
                   const std::string& end)
{
    if (!document.lines.empty()) {
        Line& last = document.lines.back();
        if (last.end.empty())
            last.end = end;
        if (!trim(last.text).empty())
            document.lines.push_back(Line{"", end});
    }
    document.lines.push_back(Line{"[" + section + "]", end});
    document.lines.push_back(Line{keyLine, end});
}

// Trailing blank lines separate a section from the next one, so a new key goes before them.
void setValue(Document& document, const std::string& section, const std::string& key,
              const std::string& value)
{
    const std::string end = lineEndOf(document);
    const auto header = findSection(document, section);
    if (!header) {
        appendSection(document, section, key + "=" + value, end);
        return;
    }
    const std::size_t stop = sectionEnd(document, *header);
    if (const auto line = findKey(document, *header + 1, stop, key)) {
        std::string& text = document.lines[*line].text;
        text = text.substr(0, classify(text).valueStart) + value;
        return;
    }
    std::size_t last = *header;
    for (std::size_t i = *header + 1; i < stop; ++i) {
        if (!trim(document.lines[i].text).empty())
            last = i;
    }
    insertLineAfter(document, last, key + "=" + value, end);
}

} // namespace

bool parseInteger(const std::string& text, std::int32_t& result)
{
    std::size_t i = 0;
    const std::size_t size = text.size();
    while (i < size && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < size && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    unsigned base = 10;
    if (i < size && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < size && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == size)
        return false;
    const std::int64_t limit = negative ? -std::int64_t{std::numeric_limits<std::int32_t>::min()}
                                        : std::int64_t{std::numeric_limits<std::int32_t>::max()};
    std::int64_t magnitude = 0;
    for (; i < size; ++i) {
        const char c = asciiLower(text[i]);
        unsigned digit = 0;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else
            return false;
        if (digit >= base)
            return false;
        magnitude = magnitude * base + digit;
        if (magnitude > limit)
            return false;
    }
    result = static_cast<std::int32_t>(negative ? -magnitude : magnitude);
    return true;
}

std::string readString(const std::string& path, const std::string& section, const std::string& key,
                       const std::string& defaultValue)
{
    return lookUp(path, section, key).value_or(defaultValue);
}

std::int32_t readInteger(const std::string& path, const std::string& section,
                         const std::string& key, std::int32_t defaultValue)
{
    const auto value = lookUp(path, section, key);
    std::int32_t result = 0;
    return value && parseInteger(*value, result) ? result : defaultValue;
}

bool readBool(const std::string& path, const std::string& section, const std::string& key,
              bool defaultValue)
{
    return readInteger(path, section, key, defaultValue ? 1 : 0) != 0;
}

std::unordered_map<std::string, std::string> readSection(const std::string& path,
                                                         const std::string& section)
{
    std::unordered_map<std::string, std::string> values;
    std::string contents;
    int error = 0;
    if (!readRegularFile(path, contents, error))
        return values;
    const Document document = parseDocument(contents);
    const auto header = findSection(document, trim(section));
    if (!header)
        return values;
    const std::size_t end = sectionEnd(document, *header);
    for (std::size_t i = *header + 1; i < end; ++i) {
        const std::string& text = document.lines[i].text;
        const LineInfo info = classify(text);
        if (info.kind != LineKind::Key)
            continue;
        std::string key(info.name);
        for (char& c : key)
            c = asciiLower(c);
        values.try_emplace(std::move(key), valueOf(text, info.valueStart));
    }
    return values;
}

void writeString(const std::string& path, const std::string& section, const std::string& key,
                 const std::string& value)
{
    std::string contents;
    int error = 0;
    if (!readRegularFile(path, contents, error) && error != ENOENT)
        throw CommandError("Unable to write to " + path);
    Document document = parseDocument(contents);
    setValue(document, std::string(trim(singleLine(section))), std::string(trim(singleLine(key))),
             singleLine(value));
    if (!replaceFileContents(path, joinDocument(document)))
        throw CommandError("Unable to write to " + path);
}

void writeInteger(const std::string& path, const std::string& section, const std::string& key,
                  std::int32_t value)
{
    writeString(path, section, key, std::to_string(value));
}

void writeBool(const std::string& path, const std::string& section, const std::string& key,
               bool value)
{
    writeString(path, section, key, value ? "1" : "0");
}

} // namespace twinfold::IniFile
