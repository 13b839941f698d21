#pragma once

#include "platform/Signal.h"

#include <QObject>

#include <vector>

namespace twinfold
{

class AboutBoxView;
class Application;
class SpecialBoxView;

// Shows the About box's texts from TAboutBox and its companion's line from TSpecialBox, and
// hands their buttons and the panel's double-click to the models.
class AboutBoxBinder : public QObject
{
public:
    AboutBoxBinder(Application& app, AboutBoxView& about, SpecialBoxView& special);

private:
    Application& m_app;
    std::vector<Connection> m_connections;
};

} // namespace twinfold
