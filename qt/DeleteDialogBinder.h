#pragma once

#include "platform/Signal.h"

#include <QObject>

#include <vector>

namespace twinfold
{

class Application;
class DeleteDialogView;
class TDelete;

// Keeps the delete-directory dialog in step with TDelete and hands OK and Cancel to it through
// the application's command dispatch.
class DeleteDialogBinder : public QObject
{
public:
    DeleteDialogBinder(Application& app, DeleteDialogView& view);

private:
    void run(void (TDelete::*handler)());

    Application& m_app;
    TDelete& m_dialog;
    DeleteDialogView& m_view;
    std::vector<Connection> m_connections;
};

} // namespace twinfold
