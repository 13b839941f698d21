#pragma once

#include <optional>

namespace twinfold
{

// Whether standard error is a terminal, where a progress line may be drawn.
bool standardErrorIsTerminal();

// The width of the terminal on standard error in columns; nothing when it cannot be told.
std::optional<int> standardErrorColumns();

// Opens the null device on standard input, output or error where a caller started the program
// with one closed. Otherwise the first file the program opens would take that number, and a
// line meant for the console would be written into a destination file.
void ensureStandardStreamsOpen();

} // namespace twinfold
