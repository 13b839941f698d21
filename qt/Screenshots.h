#pragma once

#include <QString>

namespace twinfold
{

class Application;
class QtServices;

// Draws every window, bound to the started program's models and working on a generated demo
// tree, into DIR as one PNG each; used by scripts/screenshots.sh. The views must be registered
// with the services.
void drawScreenshots(Application& app, QtServices& services, const QString& dir);

} // namespace twinfold
