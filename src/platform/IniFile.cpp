#include "IniFile.h"

#include "IniDocument.h"

namespace twinfold::IniFile
{

bool parseInteger(const std::string& text, std::int32_t& result)
{
    return IniDocument::parseInteger(text, result);
}

std::string readString(const std::string& path, const std::string& section, const std::string& key,
                       const std::string& defaultValue)
{
    return IniDocument::load(path).readString(section, key, defaultValue);
}

std::int32_t readInteger(const std::string& path, const std::string& section,
                         const std::string& key, std::int32_t defaultValue)
{
    return IniDocument::load(path).readInteger(section, key, defaultValue);
}

bool readBool(const std::string& path, const std::string& section, const std::string& key,
              bool defaultValue)
{
    return IniDocument::load(path).readBool(section, key, defaultValue);
}

std::unordered_map<std::string, std::string> readSection(const std::string& path,
                                                         const std::string& section)
{
    return IniDocument::load(path).readSection(section);
}

void writeString(const std::string& path, const std::string& section, const std::string& key,
                 const std::string& value)
{
    IniDocument document = IniDocument::load(path);
    document.setString(section, key, value);
    document.save();
}

} // namespace twinfold::IniFile
