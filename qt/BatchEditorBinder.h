#pragma once

#include "platform/Signal.h"

#include <QObject>

#include <vector>

class QComboBox;
class QListWidget;

namespace twinfold
{

class Application;
class BatchEditorView;
class ComboBox;
class ListBox;
class TBatchDlg;

// Keeps the batch editor's widgets in step with TBatchDlg and hands every user action to its
// handlers through the application's command dispatch.
class BatchEditorBinder : public QObject
{
public:
    BatchEditorBinder(Application& app, BatchEditorView& view);

private:
    void bindBrowser();
    void bindDirectoryList();
    void bindComboBox(ComboBox& model, QComboBox* box, void (TBatchDlg::*handler)());
    void bindSelectableList(ListBox& model, QListWidget* list);
    void bindCommands();
    void run(void (TBatchDlg::*handler)());
    // The caption is a plain text of the model, changed only by its handlers.
    void showCaption();

    Application& m_app;
    TBatchDlg& m_editor;
    BatchEditorView& m_view;
    std::vector<Connection> m_connections;
};

} // namespace twinfold
