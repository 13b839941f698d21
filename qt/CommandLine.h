#pragma once

#include "app/Application.h"

#include <QStringList>

namespace twinfold
{

// twinfold [--config-dir DIR] [BATCHFILE]; --help and --version print and exit inside.
StartOptions parseCommandLine(const QStringList& arguments);

// Answers --help and --version, printing and exiting, before the toolkit starts: they need no
// display. Any other command line is left for parseCommandLine, once the toolkit has taken
// its own options (-platform, -style, ...) out of it.
void answerInformationOptions(int argc, char* argv[]);

} // namespace twinfold
