#pragma once

#include "platform/Signal.h"

#include <QObject>

#include <vector>

namespace twinfold
{

class Application;
class OptionsView;
class TOptionsbx;

// Keeps the options dialog in step with TOptionsbx and hands its keys and buttons to it.
class OptionsBinder : public QObject
{
public:
    OptionsBinder(Application& app, OptionsView& view);

private:
    void run(void (TOptionsbx::*handler)());
    // The entry fields are plain texts in the model, read back after every handler.
    void showFields();

    Application& m_app;
    TOptionsbx& m_options;
    OptionsView& m_view;
    std::vector<Connection> m_connections;
};

} // namespace twinfold
