#include "IniDocument.h"

#include "AtomicFile.h"
#include "ErrorText.h"

#include <cerrno>
#include <limits>
#include <string_view>

namespace twinfold
{

namespace
{

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";

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

// The value as stored, before the length limit of a read.
std::string_view fullValueOf(std::string_view text, std::size_t valueStart)
{
    text = text.substr(0, text.find('\0'));
    std::string_view value = trim(text.substr(valueStart));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return value;
}

std::string valueOf(std::string_view text, std::size_t valueStart)
{
    return std::string(fullValueOf(text, valueStart).substr(0, IniDocument::MaxValueLength));
}

// A line break inside a name or value would split the line and change the file's structure.
std::string singleLine(std::string_view text)
{
    return std::string(text.substr(0, text.find_first_of("\r\n")));
}

// Reading drops blanks around a value and a pair of quotes around it; a value that has either
// is written inside double quotes, so that it reads back as it was (a directory whose name ends
// in a blank must not come back as another directory). A NUL ends the value on reading anyway.
std::string writtenValue(const std::string& value)
{
    std::string text = singleLine(value);
    const bool changedByReading =
        !text.empty() && (isBlank(text.front()) || isBlank(text.back()) ||
                          (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
                           text.back() == text.front()));
    if (changedByReading && text.find('\0') == std::string::npos)
        return '"' + text + '"';
    return text;
}

std::string writtenName(const std::string& name)
{
    return std::string(trim(singleLine(name)));
}

} // namespace

IniDocument IniDocument::load(const std::string& path)
{
    IniDocument document;
    document.m_path = path;
    std::string contents;
    int error = 0;
    if (!readRegularFile(path, contents, error)) {
        document.m_unreadable = error != ENOENT;
        return document;
    }
    std::string_view rest = contents;
    if (rest.starts_with(Utf8Bom)) {
        document.m_bom = Utf8Bom;
        rest.remove_prefix(Utf8Bom.size());
    }
    while (!rest.empty()) {
        const auto newline = rest.find('\n');
        Line line;
        if (newline == std::string_view::npos) {
            line.text = rest;
            rest = {};
        } else {
            line.text = rest.substr(0, newline);
            line.end = "\n";
            rest.remove_prefix(newline + 1);
            if (!line.text.empty() && line.text.back() == '\r') {
                line.text.pop_back();
                line.end = "\r\n";
            }
        }
        document.m_lines.push_back(std::move(line));
    }
    return document;
}

std::string IniDocument::contents() const
{
    std::string contents = m_bom;
    for (const Line& line : m_lines)
        contents.append(line.text).append(line.end);
    return contents;
}

void IniDocument::save() const
{
    if (m_unreadable || !replaceFileContents(m_path, contents()))
        throw CommandError("Unable to write to " + m_path);
}

// Only the first section of a name is searched: a later duplicate is dead text, as in the
// classic profile functions.
std::optional<std::size_t> IniDocument::findSection(const std::string& section) const
{
    const std::string_view wanted = trim(section);
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const LineInfo info = classify(m_lines[i].text);
        if (info.kind == LineKind::Section && equalNoCase(info.name, wanted))
            return i;
    }
    return std::nullopt;
}

std::size_t IniDocument::sectionEnd(std::size_t header) const
{
    std::size_t i = header + 1;
    while (i < m_lines.size() && classify(m_lines[i].text).kind != LineKind::Section)
        ++i;
    return i;
}

std::optional<std::size_t> IniDocument::findKey(std::size_t begin, std::size_t end,
                                                const std::string& key) const
{
    const std::string_view wanted = trim(key);
    for (std::size_t i = begin; i < end; ++i) {
        const LineInfo info = classify(m_lines[i].text);
        if (info.kind == LineKind::Key && equalNoCase(info.name, wanted))
            return i;
    }
    return std::nullopt;
}

std::optional<std::string> IniDocument::value(const std::string& section,
                                              const std::string& key) const
{
    const auto header = findSection(section);
    if (!header)
        return std::nullopt;
    const auto line = findKey(*header + 1, sectionEnd(*header), key);
    if (!line)
        return std::nullopt;
    const std::string& text = m_lines[*line].text;
    return valueOf(text, classify(text).valueStart);
}

bool IniDocument::valueCut(const std::string& section, const std::string& key) const
{
    const auto header = findSection(section);
    if (!header)
        return false;
    const auto line = findKey(*header + 1, sectionEnd(*header), key);
    if (!line)
        return false;
    const std::string& text = m_lines[*line].text;
    return fullValueOf(text, classify(text).valueStart).size() > MaxValueLength;
}

std::string IniDocument::readString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue) const
{
    return value(section, key).value_or(defaultValue);
}

std::int32_t IniDocument::readInteger(const std::string& section, const std::string& key,
                                      std::int32_t defaultValue) const
{
    const auto text = value(section, key);
    std::int32_t result = 0;
    return text && parseInteger(*text, result) ? result : defaultValue;
}

bool IniDocument::readBool(const std::string& section, const std::string& key,
                           bool defaultValue) const
{
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

std::unordered_map<std::string, std::string>
IniDocument::readSection(const std::string& section) const
{
    std::unordered_map<std::string, std::string> values;
    const auto header = findSection(section);
    if (!header)
        return values;
    const std::size_t end = sectionEnd(*header);
    for (std::size_t i = *header + 1; i < end; ++i) {
        const std::string& text = m_lines[i].text;
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

// The style of the first line; a file without one gets LF.
std::string IniDocument::lineEnd() const
{
    return !m_lines.empty() && m_lines.front().end == "\r\n" ? "\r\n" : "\n";
}

// Gives the last line the end it lacked. A carriage return that ended it now belongs to that
// end, as a fresh reading of the written bytes would take it: so the next value set sees the
// file exactly as the next single write would.
void IniDocument::terminate(Line& line, const std::string& end)
{
    if (!line.end.empty())
        return;
    line.end = end;
    if (end == "\n" && !line.text.empty() && line.text.back() == '\r') {
        line.text.pop_back();
        line.end = "\r\n";
    }
}

void IniDocument::insertLineAfter(std::size_t index, std::string text, const std::string& end)
{
    terminate(m_lines[index], end);
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(index) + 1,
                   Line{std::move(text), end});
}

void IniDocument::appendSection(const std::string& section, std::string keyLine,
                                const std::string& end)
{
    if (!m_lines.empty()) {
        Line& last = m_lines.back();
        terminate(last, end);
        if (!trim(last.text).empty())
            m_lines.push_back(Line{"", end});
    }
    m_lines.push_back(Line{"[" + section + "]", end});
    m_lines.push_back(Line{std::move(keyLine), end});
}

// Trailing blank lines separate a section from the next one, so a new key goes before them.
void IniDocument::setString(const std::string& section, const std::string& key,
                            const std::string& value)
{
    const std::string name = writtenName(section);
    const std::string keyName = writtenName(key);
    const std::string text = writtenValue(value);
    const std::string end = lineEnd();
    const auto header = findSection(name);
    if (!header) {
        appendSection(name, keyName + "=" + text, end);
        return;
    }
    const std::size_t stop = sectionEnd(*header);
    if (const auto line = findKey(*header + 1, stop, keyName)) {
        std::string& current = m_lines[*line].text;
        current = current.substr(0, classify(current).valueStart) + text;
        return;
    }
    std::size_t last = *header;
    for (std::size_t i = *header + 1; i < stop; ++i) {
        if (!trim(m_lines[i].text).empty())
            last = i;
    }
    insertLineAfter(last, keyName + "=" + text, end);
}

void IniDocument::setInteger(const std::string& section, const std::string& key, std::int32_t value)
{
    setString(section, key, std::to_string(value));
}

void IniDocument::setBool(const std::string& section, const std::string& key, bool value)
{
    setString(section, key, value ? "1" : "0");
}

bool IniDocument::parseInteger(const std::string& text, std::int32_t& result)
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

std::string IniDocument::storedValue(const std::string& value)
{
    return writtenValue(value);
}

} // namespace twinfold
