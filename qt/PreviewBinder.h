#pragma once

#include "platform/Signal.h"

#include <QObject>

#include <vector>

class QTreeView;

namespace twinfold
{

class Application;
class PreviewView;
class RowsModel;
class TPreview;

// Shows the preview's lists and totals in the preview window and hands its buttons to TPreview.
class PreviewBinder : public QObject
{
public:
    PreviewBinder(Application& app, PreviewView& view);

private:
    RowsModel* fileRows(QTreeView* list, bool toCopy);
    RowsModel* directoryRows(QTreeView* list);

    Application& m_app;
    TPreview& m_preview;
    PreviewView& m_view;
    std::vector<Connection> m_connections;
};

} // namespace twinfold
