#include "MainWindowBinder.h"

#include "MainWindowView.h"
#include "ThrottledDraw.h"

#include "app/Application.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QMenuBar>
#include <QStyle>

namespace twinfold
{

namespace
{

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

// The last level of a path names a directory view's entry; a root names itself.
QString entryName(const std::string& path)
{
    const QString full = qs(path);
    const QString name = QFileInfo(full).fileName();
    return name.isEmpty() ? full : name;
}

} // namespace

MainWindowBinder::MainWindowBinder(Application& app, MainWindowView& view)
    : QObject(&view), m_app(app), m_main(app.Main), m_view(view)
{
    bindPathLabel(m_main.SourceLabel, view.SourceLabel);
    bindPathLabel(m_main.DestLabel, view.DestLabel);
    bindLabel(m_main.selsize, view.selsize);
    bindLabel(m_main.FileCount, view.FileCount);
    bindDirectoryView(m_main.SourceDirListBox, view.SourceDirListBox);
    bindDirectoryView(m_main.DestDirListBox, view.DestDirListBox);
    bindFileList();
    bindComboBox(m_main.EditFilter, view.EditFilter, &TMain::EditFilterChange);
    bindComboBox(m_main.DriveComboBox1, view.DriveComboBox1, &TMain::DriveComboBox1Change);
    bindComboBox(m_main.DriveComboBox2, view.DriveComboBox2, &TMain::DriveComboBox2Change);
    bindCheckBox(m_main.cbSelectAll, view.cbSelectAll, &TMain::cbSelectAllClick);
    bindCheckBox(m_main.SyncAll, view.SyncAll, &TMain::SyncAllClick);
    bindCommands();
    bindPopup(view.FileList, view.PopupMenuFL);
    bindPopup(view.SourceDirListBox, view.PopupMenuSD);
    bindPopup(view.DestDirListBox, view.PopupMenuDD);
    followRunState();
    m_connections.push_back(m_main.closed.connect([this] {
        m_closing = true;
        m_view.close();
    }));
    view.installEventFilter(this);
}

void MainWindowBinder::fromModel(const std::function<void()>& change)
{
    const bool outer = m_updatingFromModel;
    m_updatingFromModel = true;
    change();
    m_updatingFromModel = outer;
}

void MainWindowBinder::run(void (TMain::*handler)())
{
    // The closures reach the window through a reference of their own rather than through this:
    // GCC 12's sanitizer type check misreads a member-pointer call made through a captured this.
    TMain& main = m_main;
    m_app.mainCommand([&main, handler] { (main.*handler)(); });
}

ThrottledDraw* MainWindowBinder::drawing(std::function<void()> draw)
{
    draw();
    return new ThrottledDraw(m_app.SyncBox, std::move(draw), this);
}

void MainWindowBinder::bindLabel(Label& model, QLabel* label)
{
    ThrottledDraw* show = drawing([&model, label] { label->setText(qs(model.text())); });
    m_connections.push_back(
        model.textChanged.connect([show](const std::string&) { show->request(); }));
}

void MainWindowBinder::bindPathLabel(Label& model, PathLabel* label)
{
    // The label shortens the path to whatever width the window gives it, now and on resizing.
    ThrottledDraw* show = drawing([&model, label] { label->setPath(qs(model.text())); });
    m_connections.push_back(
        model.textChanged.connect([show](const std::string&) { show->request(); }));
}

void MainWindowBinder::bindDirectoryView(DirectoryView& model, QListWidget* list)
{
    // Looked up once: the style's icon lookup goes through the icon theme, and a Sync All
    // refills the view for every directory it walks.
    const QIcon open = list->style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = list->style()->standardIcon(QStyle::SP_DirIcon);
    auto fill = [this, &model, list, open, closed] {
        fromModel([&] {
            list->clear();
            const int count = model.count();
            for (int i = 0; i < count; ++i) {
                // The ancestor chain is drawn open and indented by depth, the subdirectories
                // closed one level below the current directory.
                const bool ancestor = i <= model.directoryPosition();
                const int depth = ancestor ? i : model.directoryPosition() + 1;
                auto* item = new QListWidgetItem(ancestor ? open : closed,
                                                 QString(qsizetype{depth} * 2, QLatin1Char(' ')) +
                                                     entryName(model.entryPath(i)));
                item->setToolTip(qs(model.entryPath(i)));
                list->addItem(item);
            }
            list->setCurrentRow(model.itemIndex());
        });
    };
    // A run moves the source view once per directory; the whole view is drawn afresh, as
    // often as the throttle lets it.
    ThrottledDraw* draw = drawing(fill);
    m_connections.push_back(
        model.directoryChanged.connect([draw](const std::string&) { draw->request(); }));
    m_connections.push_back(model.listingChanged.connect([draw] { draw->request(); }));
    m_connections.push_back(model.currentChanged.connect([this, draw, list](int index) {
        if (m_app.SyncBox.running)
            draw->request();
        else if (!draw->pending())
            fromModel([&] { list->setCurrentRow(index); });
    }));
    connect(list, &QListWidget::currentRowChanged, this, [this, &model](int row) {
        if (!m_updatingFromModel && row >= 0)
            m_app.mainCommand([&model, row] { model.setItemIndex(row); });
    });
    // Double-click and Enter both activate an item.
    connect(list, &QListWidget::itemActivated, this, [this, &model, list](QListWidgetItem* item) {
        const int row = list->row(item);
        m_app.mainCommand([&model, row] {
            model.setItemIndex(row);
            model.openCurrent();
        });
    });
}

void MainWindowBinder::bindFileList()
{
    FileListBox& model = m_main.FileList;
    QListView* list = m_view.FileList;
    auto rowIndex = [this](int row) { return m_view.fileNames->index(row); };
    auto reset = [this, &model, list, rowIndex] {
        fromModel([&] {
            QStringList names;
            names.reserve(model.count());
            for (const std::string& name : model.items())
                names << qs(name);
            m_view.fileNames->setStringList(names);
            // Runs of selected names go over as ranges: one change per run, not per name.
            QItemSelection selection;
            for (int row = 0; row < model.count();) {
                if (!model.selected(row)) {
                    ++row;
                    continue;
                }
                const int first = row;
                while (row < model.count() && model.selected(row))
                    ++row;
                selection.select(rowIndex(first), rowIndex(row - 1));
            }
            list->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
            list->selectionModel()->setCurrentIndex(rowIndex(model.itemIndex()),
                                                    QItemSelectionModel::NoUpdate);
        });
    };
    // During a run every change of the list, the focus moving once per file included, draws
    // the whole list afresh as often as the throttle lets it; outside a run the finer changes
    // go over one by one.
    ThrottledDraw* draw = drawing(reset);
    auto finer = [this, draw](const std::function<void()>& change) {
        if (m_app.SyncBox.running || draw->pending())
            draw->request();
        else
            fromModel(change);
    };
    m_connections.push_back(model.reset.connect([draw] { draw->request(); }));
    m_connections.push_back(model.inserted.connect([this, &model, rowIndex, finer](int row) {
        finer([&] {
            m_view.fileNames->insertRows(row, 1);
            m_view.fileNames->setData(rowIndex(row), qs(model.item(row)));
        });
    }));
    m_connections.push_back(model.removed.connect(
        [this, finer](int row) { finer([&] { m_view.fileNames->removeRows(row, 1); }); }));
    m_connections.push_back(
        model.selectionChanged.connect([list, rowIndex, finer](int row, bool on) {
            finer([&] {
                list->selectionModel()->select(rowIndex(row), on ? QItemSelectionModel::Select
                                                                 : QItemSelectionModel::Deselect);
            });
        }));
    m_connections.push_back(model.currentChanged.connect([&model, list, rowIndex, finer](int) {
        finer([&] {
            list->selectionModel()->setCurrentIndex(rowIndex(model.itemIndex()),
                                                    QItemSelectionModel::NoUpdate);
        });
    }));
    connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this, &model](const QItemSelection& selected, const QItemSelection& deselected) {
                if (m_updatingFromModel)
                    return;
                m_app.mainCommand([&] {
                    for (const QModelIndex& index : deselected.indexes())
                        model.setSelected(index.row(), false);
                    for (const QModelIndex& index : selected.indexes())
                        model.setSelected(index.row(), true);
                    m_main.FileListClick();
                });
            });
    connect(list->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this, &model](const QModelIndex& current) {
                if (!m_updatingFromModel)
                    m_app.mainCommand([&] { model.setItemIndex(current.row()); });
            });
}

void MainWindowBinder::bindComboBox(ComboBox& model, QComboBox* box, void (TMain::*handler)())
{
    auto items = [this, &model, box] {
        fromModel([&] {
            box->clear();
            for (const std::string& item : model.items())
                box->addItem(qs(item));
            box->setCurrentIndex(model.itemIndex());
        });
    };
    // The type choice's captions are the view's from the start; the model may hold them too.
    if (!model.items().empty())
        items();
    else
        box->setCurrentIndex(model.itemIndex());
    m_connections.push_back(model.itemsChanged.connect(items));
    m_connections.push_back(model.itemIndexChanged.connect(
        [this, box](int index) { fromModel([&] { box->setCurrentIndex(index); }); }));
    // Only the user's choice runs the handler; `activated` is not sent for programmatic changes.
    connect(box, &QComboBox::activated, this, [this, &model, handler](int index) {
        m_app.mainCommand([&main = m_main, &model, handler, index] {
            model.setItemIndex(index);
            (main.*handler)();
        });
    });
}

void MainWindowBinder::bindCheckBox(CheckBox& model, QCheckBox* box, void (TMain::*handler)())
{
    box->setChecked(model.checked());
    box->setEnabled(model.enabled());
    m_connections.push_back(model.checkedChanged.connect(
        [this, box](bool on) { fromModel([&] { box->setChecked(on); }); }));
    m_connections.push_back(model.enabledChanged.connect([box](bool on) { box->setEnabled(on); }));
    connect(box, &QCheckBox::clicked, this, [this, &model, box, handler](bool on) {
        const bool done = m_app.mainCommand([&main = m_main, &model, handler, on] {
            model.setChecked(on);
            (main.*handler)();
        });
        // An ignored or failed click leaves the mark where the model has it.
        if (!done)
            box->setChecked(model.checked());
    });
}

void MainWindowBinder::bindCommands()
{
    for (const MainCommand& command : TMain::commandTable()) {
        auto handler = command.run;
        if (command.where == "Button") {
            QPushButton* button = command.handler == "SyncBtnClick" ? m_view.SyncBtn
                                  : command.handler == "Exit1Click" ? m_view.ExitBtn
                                                                    : m_view.Swapbtn;
            connect(button, &QPushButton::clicked, this, [this, handler] { run(handler); });
            continue;
        }
        QAction* action = m_view.action(command.where, command.handler);
        if (!action)
            continue;
        connect(action, &QAction::triggered, this, [this, handler] { run(handler); });
    }
    if (QAction* mark = m_view.action("File", "SaveSettingsonExitClick")) {
        mark->setChecked(m_main.SaveSettingsonExit);
        // The mark shows the model's flag, whatever the handler made of the click.
        connect(mark, &QAction::triggered, this,
                [this, mark] { mark->setChecked(m_main.SaveSettingsonExit); });
    }
    if (QAction* topic = m_view.action("Window", "HelpTopic1"))
        connect(topic, &QAction::triggered, this, [this] { run(&TMain::HelpTopic1); });
}

void MainWindowBinder::bindPopup(QWidget* widget, QWidget* menu)
{
    auto* popup = qobject_cast<QMenu*>(menu);
    if (!popup)
        return;
    connect(widget, &QWidget::customContextMenuRequested, this,
            [widget, popup](const QPoint& at) { popup->exec(widget->mapToGlobal(at)); });
}

void MainWindowBinder::followRunState()
{
    // The window's commands are disabled for the length of a run, so that the user sees why
    // they do nothing; the progress window's Cancel is the one way in meanwhile.
    auto setRunning = [this](bool running) {
        m_view.centralWidget()->setEnabled(!running);
        m_view.menuBar()->setEnabled(!running);
        for (QAction* action : m_view.findChildren<QAction*>())
            action->setEnabled(!running);
    };
    m_connections.push_back(m_app.SyncBox.runStarted.connect([setRunning] { setRunning(true); }));
    m_connections.push_back(
        m_app.SyncBox.runFinished.connect([setRunning](RunEnd) { setRunning(false); }));
}

bool MainWindowBinder::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &m_view)
        return false;
    switch (event->type()) {
    case QEvent::Show:
        m_app.command([this] { m_main.FormShow(); });
        // Without a window manager (a bare X server, as for an unattended batch start) nothing
        // else makes the window active, and the first activation is what starts a batch.
        m_view.activateWindow();
        break;
    case QEvent::WindowActivate:
        m_app.command([this] { m_main.FormActivate(); });
        break;
    case QEvent::Close:
        // The close box goes through the exit steps; the window closes when the model does.
        if (!m_closing) {
            event->ignore();
            m_app.mainCommand([this] { m_main.FormClose(); });
            return true;
        }
        break;
    default:
        break;
    }
    return false;
}

} // namespace twinfold
