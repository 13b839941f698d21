#include "MainWindowView.h"

#include "BindingKit.h"
#include "Bindings.h"

#include "app/Application.h"

#include <QFrame>
#include <QGridLayout>
#include <QMenuBar>
#include <QStatusBar>

#include <map>
#include <stdexcept>

namespace twinfold
{

namespace
{

QListWidget* directoryView(QWidget* parent)
{
    auto* view = new QListWidget(parent);
    view->setToolTip(QStringLiteral("Right Click for Options"));
    view->setMinimumSize(195, 132);
    return view;
}

// The menu bar's menus; none for the pop-up menus and the places that are no menu.
const char* menuTitle(Where where)
{
    return where == Where::FileMenu    ? "&File"
           : where == Where::EditMenu  ? "&Edit"
           : where == Where::BatchMenu ? "&Batch"
           : where == Where::HelpMenu  ? "&Help"
                                       : nullptr;
}

// Every command of the table reaches its control; a command without one fails the binding.
void bindCommands(BindingKit& kit, TMain& main, MainWindowView& view)
{
    for (const MainCommand& command : TMain::commandTable()) {
        if (command.where == Where::Event)
            continue;
        const BindingKit::Handler run = BindingKit::call(main, command.run);
        QObject* control = view.control(command.where, command.run);
        kit.press(control, run);
        if (const auto mark = command.mark) {
            auto* action = qobject_cast<QAction*>(control);
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

MainWindowView::MainWindowView(QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle(QString::fromLatin1(ApplicationTitle));
    auto* central = new QWidget(this);
    setCentralWidget(central);

    SourceLabel = new PathLabel(central);
    SourceDirListBox = directoryView(central);
    FileList = new QListView(central);
    FileList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    FileList->setToolTip(QStringLiteral("Right Click for Options"));
    FileList->setMinimumSize(133, 132);
    DestLabel = new PathLabel(central);
    DestDirListBox = directoryView(central);
    Swapbtn = commandButton(&TMain::SwapbtnClick);
    Swapbtn->setToolTip(QStringLiteral("Swap Source and Destination Directories"));
    EditFilter = new QComboBox(central);
    for (const char* type :
         {FileTypeAll, FileTypeCustom, FileTypeExcel, FileTypeLotus, FileTypeDocuments})
        EditFilter->addItem(QString::fromLatin1(type));
    EditFilter->setCurrentIndex(-1);
    DriveComboBox1 = new QComboBox(central);
    DriveComboBox2 = new QComboBox(central);
    SyncBtn = commandButton(&TMain::SyncBtnClick);
    ExitBtn = commandButton(&TMain::Exit1Click);
    SyncBtn->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    ExitBtn->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    cbSelectAll = new QCheckBox(QStringLiteral("Select All files"), central);
    SyncAll = new QCheckBox(QStringLiteral("Sync All Subdirectories"), central);
    selsize = new QLabel(QStringLiteral("Selected Size: 0 KBytes"));
    FileCount = new QLabel(QStringLiteral("Total files Selected: "));

    auto* typeLabel = new QLabel(QStringLiteral("List Files of &Type:"), central);
    typeLabel->setBuddy(EditFilter);
    auto* sourceDrives = new QLabel(QStringLiteral("Source Dri&ves:"), central);
    sourceDrives->setBuddy(DriveComboBox1);
    auto* destDrives = new QLabel(QStringLiteral("Destination Dri&ves:"), central);
    destDrives->setBuddy(DriveComboBox2);

    auto* grid = new QGridLayout(central);
    QWidget* const rows[][3] = {
        {new QLabel(QStringLiteral("Source Directory:")), Swapbtn,
         new QLabel(QStringLiteral("Destination Directory:"))},
        {SourceLabel, nullptr, DestLabel},
        {SourceDirListBox, FileList, DestDirListBox},
        {typeLabel, nullptr, destDrives},
        {EditFilter, SyncBtn, DriveComboBox2},
        {sourceDrives, nullptr, cbSelectAll},
        {DriveComboBox1, ExitBtn, SyncAll},
    };
    for (int row = 0; row < int(std::size(rows)); ++row)
        for (int column = 0; column < 3; ++column)
            if (QWidget* cell = rows[row][column])
                grid->addWidget(cell, row, column);
    grid->setAlignment(Swapbtn, Qt::AlignCenter);
    grid->setRowStretch(2, 1);

    auto* status = new QStatusBar(this);
    status->setSizeGripEnabled(false);
    status->addWidget(selsize, 1);
    status->addWidget(FileCount, 2);
    setStatusBar(status);

    // The designed tab order: source view, file list, destination view, source drives, Sync,
    // Exit, destination drives, the two check boxes, the type choice, Swap.
    const QList<QWidget*> order{SourceDirListBox, FileList,   DestDirListBox, DriveComboBox1,
                                SyncBtn,          ExitBtn,    DriveComboBox2, cbSelectAll,
                                SyncAll,          EditFilter, Swapbtn};
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
    SourceDirListBox->setFocus();

    buildMenus();
}

QPushButton* MainWindowView::commandButton(void (TMain::*run)())
{
    auto* button =
        new QPushButton(qText(TMain::command(Where::Button, run).caption), centralWidget());
    m_controls.push_back({Where::Button, run, button});
    return button;
}

void MainWindowView::buildMenus()
{
    std::map<Where, QMenu*> menus;
    for (const MainCommand& command : TMain::commandTable()) {
        if (command.where == Where::Button || command.where == Where::Event)
            continue;
        auto* action = new QAction(qText(command.caption), this);
        action->setShortcut(QKeySequence(qText(command.shortcut)));
        action->setCheckable(command.mark != nullptr);
        m_controls.push_back({command.where, command.run, action});
        if (command.where == Where::MenuBar) {
            menuBar()->addAction(action);
            continue;
        }
        if (command.where == Where::Key) {
            addAction(action);
            continue;
        }
        // Each menu is made where its first command comes, which puts the menu bar in order.
        QMenu*& menu = menus[command.where];
        if (!menu) {
            const char* title = menuTitle(command.where);
            menu = title ? menuBar()->addMenu(QString::fromLatin1(title)) : new QMenu(this);
        }
        if (command.separatorBefore)
            menu->addSeparator();
        menu->addAction(action);
    }
    PopupMenuFL = menus.at(Where::FileListPopup);
    PopupMenuSD = menus.at(Where::SourceViewPopup);
    PopupMenuDD = menus.at(Where::DestViewPopup);
}

QObject* MainWindowView::control(Where where, void (TMain::*run)()) const
{
    for (const Control& control : m_controls)
        if (control.where == where && control.run == run)
            return control.object;
    throw std::logic_error("The main window shows no control for " +
                           TMain::command(where, run).handler);
}

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
