#include "EscapedName.h"

namespace twinfold
{

namespace
{

void appendEscape(std::string& text, unsigned char byte)
{
    switch (byte) {
    case '\n':
        text += "\\n";
        return;
    case '\r':
        text += "\\r";
        return;
    case '\t':
        text += "\\t";
        return;
    case '\\':
        text += "\\\\";
        return;
    default:
        text += '\\';
        text += static_cast<char>('0' + ((byte >> 6) & 7));
        text += static_cast<char>('0' + ((byte >> 3) & 7));
        text += static_cast<char>('0' + (byte & 7));
    }
}

} // namespace

std::string escapedName(std::string_view name)
{
    std::string text;
    text.reserve(name.size());
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f || byte == '\\')
            appendEscape(text, byte);
        else
            text += c;
    }
    return text;
}

} // namespace twinfold
