#pragma once

#include <QString>

namespace twinfold
{

class QtServices;
class MainWindowView;

// Draws every window, filled with sample contents, into DIR as one PNG each; used by
// scripts/screenshots.sh until the views are bound to the models.
void drawScreenshots(QtServices& services, MainWindowView& mainView, const QString& dir);

} // namespace twinfold
