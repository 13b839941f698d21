// Reads arbitrary profile files, then writes a key into them and reads it back: whatever the
// file held, the value written is the value read, and no other key of the section changes.
#include "FuzzInput.h"

#include "platform/IniFile.h"

#include <cstdlib>

using twinfold::fuzz::FuzzInput;
namespace IniFile = twinfold::IniFile;

namespace
{

// A value that the profile format can hold as it is: no line break, no NUL, no blanks at its
// ends (they are dropped on reading) and no quotes around it (they are removed).
std::string storableValue(std::string text)
{
    std::string value;
    for (const char c : text)
        if (c != '\r' && c != '\n' && c != '\0')
            value += c;
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; };
    while (!value.empty() && blank(value.front()))
        value.erase(value.begin());
    while (!value.empty() && blank(value.back()))
        value.pop_back();
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = "x" + value;
    return value.substr(0, IniFile::MaxValueLength);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const twinfold::fuzz::ScratchFile file;
    FuzzInput input(data, size);
    const std::string section = input.next();
    const std::string key = input.next();
    const std::string value = storableValue(input.next());
    file.write(input.rest());

    IniFile::readString(file.path(), section, key, "default");
    std::int32_t number = 0;
    IniFile::parseInteger(key, number);
    IniFile::readInteger(file.path(), section, key, 7);
    const auto before = IniFile::readSection(file.path(), "Fuzz");

    IniFile::writeString(file.path(), "Fuzz", "Key", value);
    if (IniFile::readString(file.path(), "Fuzz", "Key", "missing") != value)
        std::abort();
    auto after = IniFile::readSection(file.path(), "Fuzz");
    after.erase("key");
    auto expected = before;
    expected.erase("key");
    if (after != expected)
        std::abort();
    return 0;
}
