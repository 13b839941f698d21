#pragma once

#include <optional>

namespace twinfold
{

// Whether standard error is a terminal, where a progress line may be drawn.
bool standardErrorIsTerminal();

// The width of the terminal on standard error in columns; nothing when it cannot be told.
std::optional<int> standardErrorColumns();

} // namespace twinfold
