#pragma once

#include <QString>

namespace twinfold
{

class Program;

// Draws every window of the started program, working on a generated demo tree, into DIR as
// one PNG each; used by scripts/screenshots.sh.
void drawScreenshots(Program& program, const QString& dir);

} // namespace twinfold
