#pragma once

#include "controls/Controls.h"

#include <cstdint>
#include <string>
#include <vector>

namespace twinfold
{

// Filter texts carry the include and exclude lists: every entry followed by ";".

// Appends the entries of a filter text to the list; whatever follows the last ";" is not an
// entry. The callers that replace a list empty it first.
void parseString(const std::string& text, std::vector<std::string>& list);

std::string joinFilter(const std::vector<std::string>& list);

// Checks the button of the buffer size that equals size; a size equal to none of the five
// leaves the buttons as they are.
void setChunkSizeForm(RadioGroup& buttons, std::int32_t size);

} // namespace twinfold
