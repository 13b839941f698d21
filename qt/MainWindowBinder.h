#pragma once

#include "platform/Signal.h"

#include <QObject>

#include <functional>
#include <vector>

class QComboBox;
class QCheckBox;
class QLabel;
class QListWidget;
class QWidget;

namespace twinfold
{

class Application;
class CheckBox;
class ComboBox;
class DirectoryView;
class Label;
class MainWindowView;
class PathLabel;
class TMain;
class ThrottledDraw;

// Keeps the main window's widgets in step with TMain and hands every user action to TMain's
// handlers through the application's command dispatch. The view draws; the model decides.
class MainWindowBinder : public QObject
{
public:
    MainWindowBinder(Application& app, MainWindowView& view);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Draws now and returns the throttle that draws again on request; owned by the binder.
    ThrottledDraw* drawing(std::function<void()> draw);
    void bindLabel(Label& model, QLabel* label);
    void bindPathLabel(Label& model, PathLabel* label);
    void bindDirectoryView(DirectoryView& model, QListWidget* list);
    void bindFileList();
    void bindComboBox(ComboBox& model, QComboBox* box, void (TMain::*handler)());
    void bindCheckBox(CheckBox& model, QCheckBox* box, void (TMain::*handler)());
    void bindCommands();
    void bindPopup(QWidget* widget, QWidget* menu);
    void run(void (TMain::*handler)());
    void followRunState();
    // Runs a change the model caused, so that the widgets' own notifications of it are not
    // taken for the user's.
    void fromModel(const std::function<void()>& change);

    Application& m_app;
    TMain& m_main;
    MainWindowView& m_view;
    std::vector<Connection> m_connections;
    bool m_updatingFromModel = false;
    bool m_closing = false;
};

} // namespace twinfold
