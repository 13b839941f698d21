#include "BindingKit.h"
#include "Bindings.h"
#include "MainWindowView.h"

#include "app/Application.h"

#include <QCloseEvent>
#include <QMenuBar>

namespace twinfold
{

namespace
{

// Every command of the table reaches its control; a command without one fails the binding.
void bindCommands(BindingKit& kit, TMain& main, MainWindowView& view)
{
    for (const MainCommand& command : TMain::commandTable()) {
        if (command.where == Where::Event)
            continue;
        const BindingKit::Handler run = BindingKit::call(main, command.run);
        QObject* control = view.control(command.where, command.run);
        if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            kit.press(button, run);
            continue;
        }
        auto* action = qobject_cast<QAction*>(control);
        kit.press(action, run);
        if (const auto mark = command.mark) {
            // The mark shows the model's flag, whatever the handler made of the click.
            auto show = [&main, action, mark] { action->setChecked(main.*mark); };
            show();
            QObject::connect(action, &QAction::triggered, &kit, show);
        }
    }
}

// The window's commands are disabled for the length of a run, so that the user sees why they
// do nothing; the progress window's Cancel is the one way in meanwhile.
void followRunState(BindingKit& kit, TSyncBox& run, MainWindowView& view)
{
    auto setRunning = [&view](bool running) {
        view.centralWidget()->setEnabled(!running);
        view.menuBar()->setEnabled(!running);
        for (QAction* action : view.findChildren<QAction*>())
            action->setEnabled(!running);
    };
    kit.follow(run.runStarted, [setRunning] { setRunning(true); });
    kit.follow(run.runFinished, [setRunning](RunEnd) { setRunning(false); });
}

void followWindow(BindingKit& kit, Application& app, MainWindowView& view)
{
    TMain& main = app.Main;
    kit.onEvent(&view, QEvent::Show, [&app, &main, &view](QEvent*) {
        app.command([&main] { main.FormShow(); });
        // Without a window manager (a bare X server, as for an unattended batch start) nothing
        // else makes the window active, and the first activation is what starts a batch.
        view.activateWindow();
        return false;
    });
    kit.onEvent(&view, QEvent::WindowActivate, [&app, &main](QEvent*) {
        app.command([&main] { main.FormActivate(); });
        return false;
    });
    // The close box goes through the exit steps; the window closes when the model does.
    kit.onEvent(&view, QEvent::Close, [&app, &main](QEvent* event) {
        if (main.isClosed())
            return false;
        event->ignore();
        app.mainCommand([&main] { main.FormClose(); });
        return true;
    });
    kit.follow(main.closed, [&view] { view.close(); });
}

} // namespace

void bindMainWindow(BindingKit& kit, Application& app, MainWindowView& view)
{
    TMain& main = app.Main;
    auto call = [&main](void (TMain::*handler)()) { return BindingKit::call(main, handler); };
    kit.label(main.SourceLabel, view.SourceLabel);
    kit.label(main.DestLabel, view.DestLabel);
    kit.label(main.selsize, view.selsize);
    kit.label(main.FileCount, view.FileCount);
    kit.directory(main.SourceDirListBox, view.SourceDirListBox);
    kit.directory(main.DestDirListBox, view.DestDirListBox);
    kit.list(main.FileList, view.FileList, call(&TMain::FileListClick));
    kit.combo(main.EditFilter, view.EditFilter, call(&TMain::EditFilterChange));
    kit.combo(main.DriveComboBox1, view.DriveComboBox1, call(&TMain::DriveComboBox1Change));
    kit.combo(main.DriveComboBox2, view.DriveComboBox2, call(&TMain::DriveComboBox2Change));
    kit.check(main.cbSelectAll, view.cbSelectAll);
    kit.check(main.SyncAll, view.SyncAll);
    kit.popup(view.FileList, view.PopupMenuFL);
    kit.popup(view.SourceDirListBox, view.PopupMenuSD);
    kit.popup(view.DestDirListBox, view.PopupMenuDD);
    bindCommands(kit, main, view);
    followRunState(kit, app.SyncBox, view);
    followWindow(kit, app, view);
}

} // namespace twinfold
