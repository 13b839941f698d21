#pragma once

#include "app/Application.h"

#include <QStringList>

namespace twinfold
{

// twinfold [--config-dir DIR] [BATCHFILE]; --help and --version print and exit inside.
StartOptions parseCommandLine(const QStringList& arguments);

} // namespace twinfold
