#include "MainWindowView.h"

#include "ui/Main.h"

#include <QFrame>
#include <QGridLayout>
#include <QMenuBar>
#include <QStatusBar>

namespace twinfold
{

namespace
{

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

QListWidget* directoryView(QWidget* parent)
{
    auto* view = new QListWidget(parent);
    view->setToolTip(QStringLiteral("Right Click for Options"));
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    view->setMinimumSize(195, 132);
    // Small-icon rows, so that a directory view shows as many levels as it can.
    view->setIconSize(QSize(16, 16));
    return view;
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
    fileNames = new QStringListModel(this);
    FileList->setModel(fileNames);
    // Uniform rows keep a directory of 100,000 names quick to lay out.
    FileList->setUniformItemSizes(true);
    FileList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    FileList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FileList->setToolTip(QStringLiteral("Right Click for Options"));
    FileList->setContextMenuPolicy(Qt::CustomContextMenu);
    FileList->setMinimumSize(133, 132);
    DestLabel = new PathLabel(central);
    DestDirListBox = directoryView(central);
    Swapbtn = new QPushButton(QStringLiteral("<< Swap >>"), central);
    Swapbtn->setToolTip(QStringLiteral("Swap Source and Destination Directories"));
    EditFilter = new QComboBox(central);
    for (const char* type :
         {FileTypeAll, FileTypeCustom, FileTypeExcel, FileTypeLotus, FileTypeDocuments})
        EditFilter->addItem(QString::fromLatin1(type));
    EditFilter->setCurrentIndex(-1);
    DriveComboBox1 = new QComboBox(central);
    DriveComboBox2 = new QComboBox(central);
    SyncBtn = new QPushButton(QStringLiteral("&Sync"), central);
    ExitBtn = new QPushButton(QStringLiteral("E&xit"), central);
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

    // Three columns: source, the file list with the buttons, destination.
    auto* grid = new QGridLayout(central);
    grid->addWidget(new QLabel(QStringLiteral("Source Directory:")), 0, 0);
    grid->addWidget(Swapbtn, 0, 1, Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("Destination Directory:")), 0, 2);
    grid->addWidget(SourceLabel, 1, 0);
    grid->addWidget(DestLabel, 1, 2);
    grid->addWidget(SourceDirListBox, 2, 0);
    grid->addWidget(FileList, 2, 1);
    grid->addWidget(DestDirListBox, 2, 2);
    grid->addWidget(typeLabel, 3, 0);
    grid->addWidget(destDrives, 3, 2);
    grid->addWidget(EditFilter, 4, 0);
    grid->addWidget(SyncBtn, 4, 1);
    grid->addWidget(DriveComboBox2, 4, 2);
    grid->addWidget(sourceDrives, 5, 0);
    grid->addWidget(cbSelectAll, 5, 2);
    grid->addWidget(DriveComboBox1, 6, 0);
    grid->addWidget(ExitBtn, 6, 1);
    grid->addWidget(SyncAll, 6, 2);
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

void MainWindowView::buildMenus()
{
    std::map<std::string, QMenu*> menus;
    auto menuFor = [&](const std::string& where) -> QMenu* {
        if (auto found = menus.find(where); found != menus.end())
            return found->second;
        QMenu* menu = nullptr;
        if (where == "File")
            menu = menuBar()->addMenu(QStringLiteral("&File"));
        else if (where == "Edit")
            menu = menuBar()->addMenu(QStringLiteral("&Edit"));
        else if (where == "Batch")
            menu = menuBar()->addMenu(QStringLiteral("&Batch"));
        else if (where == "Help")
            menu = menuBar()->addMenu(QStringLiteral("&Help"));
        else if (where.rfind("PopupMenu", 0) == 0)
            menu = new QMenu(this);
        menus[where] = menu;
        return menu;
    };
    // The menu bar's own items sit between Batch and Help, as designed.
    QMenu* help = nullptr;
    for (const MainCommand& command : TMain::commandTable()) {
        if (command.where == "Button" || command.where == "Event")
            continue;
        auto* action = new QAction(qs(command.caption), this);
        if (!command.shortcut.empty())
            action->setShortcut(QKeySequence(qs(command.shortcut)));
        m_actions[{command.where, command.handler}] = action;
        if (command.where == "Menu bar") {
            if (!help)
                menuBar()->addAction(action);
            continue;
        }
        QMenu* menu = menuFor(command.where);
        if (command.where == "Help")
            help = menu;
        if (command.handler == "SaveSettingsonExitClick") {
            action->setCheckable(true);
            action->setChecked(true);
        }
        if (command.where == "File" &&
            (command.handler == "SyncBtnClick" || command.handler == "Exit1Click"))
            menu->addSeparator();
        menu->addAction(action);
    }
    PopupMenuFL = menus["PopupMenuFL"];
    PopupMenuSD = menus["PopupMenuSD"];
    PopupMenuDD = menus["PopupMenuDD"];
    // F1 opens the main window's help topic.
    auto* topic = new QAction(this);
    topic->setShortcut(QKeySequence::HelpContents);
    addAction(topic);
    m_actions[{"Window", "HelpTopic1"}] = topic;
}

QAction* MainWindowView::action(const std::string& where, const std::string& handler) const
{
    auto found = m_actions.find({where, handler});
    return found == m_actions.end() ? nullptr : found->second;
}

} // namespace twinfold
