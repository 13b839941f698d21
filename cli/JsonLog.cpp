#include "JsonLog.h"

#include "engine/LogFile.h"
#include "platform/AtomicFile.h"
#include "platform/ErrorText.h"

#include <cstdio>

namespace twinfold::cli
{

namespace
{

// The length of the valid UTF-8 sequence that starts at i, or 0 when there is none.
std::size_t utf8Length(std::string_view text, std::size_t i)
{
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned char lead = byte(i);
    std::size_t length = 0;
    char32_t value = 0;
    if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2;
        value = lead & 0x1f;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
        value = lead & 0x0f;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4;
        value = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xc0) != 0x80)
            return 0;
        value = (value << 6) | (byte(i + k) & 0x3f);
    }
    const bool overlong = (length == 3 && value < 0x800) || (length == 4 && value < 0x10000);
    const bool surrogate = value >= 0xd800 && value <= 0xdfff;
    return overlong || surrogate || value > 0x10ffff ? 0 : length;
}

void appendHex(std::string& out, const char* format, unsigned value)
{
    char text[8];
    std::snprintf(text, sizeof text, format, value);
    out += text;
}

// reasons, when given, stand beside the entries of the same index.
void appendList(std::string& out, const char* key, const TLogFilebx::List& list,
                const TLogFilebx::List* reasons = nullptr)
{
    out += "  \"";
    out += key;
    out += "\": [";
    const char* separator = "\n";
    for (std::size_t i = 0; i < list.size(); ++i) {
        out += separator;
        out += "    {\"path\": " + jsonName(list[i]);
        if (reasons && i < reasons->size())
            out += ", \"reason\": " + jsonName((*reasons)[i]);
        out += "}";
        separator = ",\n";
    }
    out += list.empty() ? "]" : "\n  ]";
}

} // namespace

std::string jsonName(std::string_view bytes)
{
    std::string out = "\"";
    for (std::size_t i = 0; i < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte >= 0x80) {
            const std::size_t length = utf8Length(bytes, i);
            if (length == 0) {
                appendHex(out, "\\udc%02x", byte);
                ++i;
            } else {
                out.append(bytes.substr(i, length));
                i += length;
            }
            continue;
        }
        if (byte == '"' || byte == '\\') {
            out += '\\';
            out += static_cast<char>(byte);
        } else if (byte == '\n') {
            out += "\\n";
        } else if (byte == '\r') {
            out += "\\r";
        } else if (byte == '\t') {
            out += "\\t";
        } else if (byte < 0x20) {
            appendHex(out, "\\u%04x", byte);
        } else {
            out += static_cast<char>(byte);
        }
        ++i;
    }
    return out + "\"";
}

std::string jsonLog(const TLogFilebx& log, const std::vector<JsonMember>& before)
{
    std::string out = "{\n";
    for (const auto& member : before)
        out += "  \"" + member.key + "\": " + member.value + ",\n";
    appendList(out, "copied", log.FileSuccess);
    out += ",\n";
    appendList(out, "notCopied", log.FileOld);
    out += ",\n";
    appendList(out, "failed", log.FileFailed, &log.FailureReasons);
    return out + "\n}\n";
}

void saveJsonLog(const TLogFilebx& log, const std::string& path)
{
    if (!replaceFileContents(path, jsonLog(log)))
        throw CommandError("Cannot create file " + path);
}

} // namespace twinfold::cli
