#pragma once

#include "platform/Signal.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

class QAbstractButton;
class QAbstractItemView;
class QComboBox;
class QDialog;
class QLabel;
class QLineEdit;
class QListView;
class QListWidget;
class QSpinBox;
class QMenu;

namespace twinfold
{

class Application;
class CheckBox;
class ComboBox;
class DirectoryView;
class EditField;
class Label;
class ListBox;
class RadioGroup;
class TSyncBox;

// A model's text as a widget shows it.
inline QString qText(const std::string& text)
{
    return QString::fromStdString(text);
}

// Draws a widget from its model at once, except while a run is in progress: a run changes the
// main window for every directory and file it reaches, far faster than anyone can read, and
// drawing each change would cost a run of small files more than its copying. Then the widget
// is drawn at most every 50 ms, and once more when the run ends, so that it always settles on
// the model's last state. The drawing reads the model when it runs, never a change's argument.
class ThrottledDraw : public QObject
{
public:
    ThrottledDraw(TSyncBox& run, std::function<void()> draw, QObject* parent);

    void request();
    // A draw is waiting: the widget does not show the model's state yet, so a finer change
    // (a row inserted, a selection) must wait for it rather than be applied to the stale rows.
    bool pending() const { return m_timer.isActive(); }

private:
    void drawNow();

    const TSyncBox& m_run;
    std::function<void()> m_draw;
    QTimer m_timer;
    QElapsedTimer m_lastDrawn;
    Connection m_runFinished;
};

// Binds one window's widgets to its model's controls, one binding for each kind of control.
//
// One echo rule for all of them: the kit draws a model's state into a widget only inside
// fromModel(), and whatever a widget announces meanwhile is its echo, never passed on; outside
// it, a widget's change is the user's and reaches the model through the program's command
// dispatch. Drawing goes through ThrottledDraw, which draws at once except during a run.
//
// The kit lives as long as the window's widgets and ends every subscription it made.
class BindingKit : public QObject
{
public:
    using Handler = std::function<void()>;
    // Application::command, or Application::mainCommand for the main window, whose commands
    // are kept out while a run is in progress.
    using Dispatch = bool (Application::*)(const std::function<void()>&);

    BindingKit(Application& app, Dispatch dispatch);

    template <class Model> static Handler call(Model& model, void (Model::*handler)())
    {
        return [&model, handler] { (model.*handler)(); };
    }

    // Model to widget; a path label shortens the path to whatever width the window gives it.
    void label(Label& model, QLabel* label);

    // Both ways. A check box's own click handler is the model's, run by its setChecked().
    void text(EditField& model, QLineEdit* edit);
    // A field that holds a whole number; `changed` runs after the user's value has become its
    // text.
    void number(EditField& model, QSpinBox* box, const Handler& changed);
    void check(CheckBox& model, QAbstractButton* box);
    void radios(RadioGroup& model, const std::vector<QAbstractButton*>& buttons,
                const std::vector<Handler>& clicked);
    // `chosen` runs after the user's choice has become the model's item index.
    void combo(ComboBox& model, QComboBox* box, const Handler& chosen);
    // The view gets a string model of its own. `selected` runs after the user's selection has
    // reached the model, `doubleClicked` after a double click, with the model holding the
    // widget's selection and current row.
    void list(ListBox& model, QListView* view, const Handler& selected = {},
              const Handler& doubleClicked = {});
    // The ancestors of the current directory indented above it, the current directory in bold
    // with the open folder, its subdirectories below; double click and Enter open an entry.
    void directory(DirectoryView& model, QListWidget* view);

    // User to model: a button's click, an action's trigger, Enter in a one-line field.
    void press(QObject* control, const Handler& handler);
    // Escape and the close box: a dialog's rejection.
    void rejected(QDialog* dialog, const Handler& handler);
    // The pop-up menu of a list: a right click, Shift+F10 and the Menu key open it.
    void popup(QAbstractItemView* view, QMenu* menu);
    // What every list the kit binds does (the others may ask for it): it is marked while it
    // has the focus, and typed letters move its current row to the next entry whose name
    // starts with them.
    void keyboardList(QAbstractItemView* view);
    // Runs `handle` for the events of `type` that reach `target`; true from it consumes one.
    void onEvent(QObject* target, QEvent::Type type, std::function<bool(QEvent*)> handle);

    // Subscribes to a model's signal for as long as the kit lives.
    template <class... Args, class Slot> void follow(Signal<Args...>& signal, Slot&& slot)
    {
        m_connections.push_back(signal.connect(std::forward<Slot>(slot)));
    }

    // A user's action, dispatched; false when it failed or was kept out. `afterEach` then reads
    // back what the models hold in plain fields, which announce nothing.
    bool user(const Handler& handler);
    Handler afterEach;
    // Draws a model's change into the widgets; see the echo rule above.
    void fromModel(const Handler& change);
    // Draws now, and again on each request as often as a run lets it.
    ThrottledDraw* drawing(Handler draw);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void jumpToTyped(QAbstractItemView* view, const QString& typed);

    struct EventHook {
        QObject* target;
        QEvent::Type type;
        std::function<bool(QEvent*)> handle;
    };

    Application& m_app;
    Dispatch m_dispatch;
    int m_drawingModel = 0;
    std::vector<Connection> m_connections;
    std::vector<EventHook> m_hooks;
    QString m_typed;
    const QAbstractItemView* m_typedIn = nullptr;
    QElapsedTimer m_sinceTyped;
};

} // namespace twinfold
