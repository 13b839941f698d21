#include "settings/FilterText.h"

#include "settings/Options.h"

namespace twinfold
{

void parseString(const std::string& text, std::vector<std::string>& list)
{
    std::size_t start = 0;
    for (std::size_t end = text.find(';'); end != std::string::npos; end = text.find(';', start)) {
        list.push_back(text.substr(start, end - start));
        start = end + 1;
    }
}

std::string joinFilter(const std::vector<std::string>& list)
{
    std::string text;
    for (const auto& entry : list) {
        text += entry;
        text += ';';
    }
    return text;
}

void setChunkSizeForm(RadioGroup& buttons, std::int32_t size)
{
    for (int index = 0; index < 5; ++index) {
        if (TOptionsbx::bufferSizeOf(index) == size) {
            buttons.setCheckedIndex(index);
            return;
        }
    }
}

} // namespace twinfold
