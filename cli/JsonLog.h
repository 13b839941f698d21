#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace twinfold
{
class TLogFilebx;
}

namespace twinfold::cli
{

// A JSON string literal for a file name. Names are bytes, JSON text is Unicode: each byte that
// is not part of valid UTF-8 is written as the lone surrogate \udcXX (XX the byte), which no
// valid name produces, so the bytes can always be recovered.
std::string jsonName(std::string_view bytes);

// A member of a JSON object: its key, and its value already written as JSON.
struct JsonMember {
    std::string key;
    std::string value;
};

// The three result lists as one JSON document, for scripts that read them back; the members
// given come first.
std::string jsonLog(const TLogFilebx& log, const std::vector<JsonMember>& before = {});

// Writes jsonLog() to path in place of what stood there; throws "Cannot create file %s".
void saveJsonLog(const TLogFilebx& log, const std::string& path);

} // namespace twinfold::cli
