#include "BatchEditorBinder.h"

#include "BatchEditorView.h"
#include "ListBoxBinding.h"

#include "app/Application.h"

#include <QFileInfo>
#include <QSignalBlocker>
#include <QStyle>

namespace twinfold
{

namespace
{

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

constexpr int BatchEditorHelpTopic = 4;

} // namespace

BatchEditorBinder::BatchEditorBinder(Application& app, BatchEditorView& view)
    : QObject(&view), m_app(app), m_editor(app.BatchDlg), m_view(view)
{
    bindBrowser();
    bindListBox(m_connections, m_editor.BatchList, view.BatchList);
    bindSelectableList(m_editor.BatchList, view.BatchList);
    bindCommands();
    m_connections.push_back(m_editor.shown.connect([this] {
        showCaption();
        m_view.FileList->setFocus();
    }));
    showCaption();
}

void BatchEditorBinder::run(void (TBatchDlg::*handler)())
{
    TBatchDlg& editor = m_editor;
    m_app.command([&editor, handler] { (editor.*handler)(); });
    showCaption();
}

void BatchEditorBinder::showCaption()
{
    m_view.setWindowTitle(qs(m_editor.Caption));
}

void BatchEditorBinder::bindBrowser()
{
    QLabel* label = m_view.SourceLabel;
    auto showPath = [label](const std::string& path) {
        // Long paths lose their middle, where two paths seldom differ.
        const QString full = qs(path);
        label->setText(
            label->fontMetrics().elidedText(full, Qt::ElideMiddle, std::max(label->width(), 180)));
        label->setToolTip(full);
    };
    showPath(m_editor.SourceLabel.text());
    m_connections.push_back(m_editor.SourceLabel.textChanged.connect(showPath));
    bindDirectoryList();
    bindListBox(m_connections, m_editor.FileList, m_view.FileList);
    bindSelectableList(m_editor.FileList, m_view.FileList);
    bindComboBox(m_editor.DriveComboBox1, m_view.DriveComboBox1, &TBatchDlg::DriveComboBox1Change);
    bindComboBox(m_editor.FilterComboBox1, m_view.FilterComboBox1,
                 &TBatchDlg::FilterComboBox1Change);
}

void BatchEditorBinder::bindDirectoryList()
{
    DirectoryView& model = m_editor.SDirList;
    QListWidget* list = m_view.SDirList;
    auto fill = [&model, list] {
        const QSignalBlocker quiet(list);
        const QIcon open = list->style()->standardIcon(QStyle::SP_DirOpenIcon);
        const QIcon closed = list->style()->standardIcon(QStyle::SP_DirIcon);
        list->clear();
        for (int i = 0; i < model.count(); ++i) {
            // The ancestors open and indented by depth, the subdirectories closed below them.
            const bool ancestor = i <= model.directoryPosition();
            const int depth = ancestor ? i : model.directoryPosition() + 1;
            const QString path = qs(model.entryPath(i));
            const QString name = QFileInfo(path).fileName();
            auto* item = new QListWidgetItem(ancestor ? open : closed,
                                             QString(qsizetype{depth} * 2, QLatin1Char(' ')) +
                                                 (name.isEmpty() ? path : name));
            item->setToolTip(path);
            list->addItem(item);
        }
        list->setCurrentRow(model.itemIndex());
    };
    fill();
    m_connections.push_back(model.directoryChanged.connect([fill](const std::string&) { fill(); }));
    m_connections.push_back(model.listingChanged.connect(fill));
    m_connections.push_back(model.currentChanged.connect([list](int row) {
        const QSignalBlocker quiet(list);
        list->setCurrentRow(row);
    }));
    connect(list, &QListWidget::currentRowChanged, this, [&model](int row) {
        if (row >= 0)
            model.setItemIndex(row);
    });
    // Double-click and Enter both open a directory.
    connect(list, &QListWidget::itemActivated, this, [this, &model, list](QListWidgetItem* item) {
        const int row = list->row(item);
        m_app.command([&model, row] {
            model.setItemIndex(row);
            model.openCurrent();
        });
    });
}

void BatchEditorBinder::bindComboBox(ComboBox& model, QComboBox* box, void (TBatchDlg::*handler)())
{
    auto items = [&model, box] {
        const QSignalBlocker quiet(box);
        box->clear();
        for (const std::string& item : model.items())
            box->addItem(qs(item));
        box->setCurrentIndex(model.itemIndex());
    };
    items();
    m_connections.push_back(model.itemsChanged.connect(items));
    m_connections.push_back(model.itemIndexChanged.connect([box](int index) {
        const QSignalBlocker quiet(box);
        box->setCurrentIndex(index);
    }));
    // `activated` comes only from the user, never from the model's changes above.
    connect(box, &QComboBox::activated, this, [this, &model, handler](int index) {
        TBatchDlg& editor = m_editor;
        m_app.command([&editor, &model, handler, index] {
            model.setItemIndex(index);
            (editor.*handler)();
        });
    });
}

void BatchEditorBinder::bindSelectableList(ListBox& model, QListWidget* list)
{
    // The model's own changes are drawn with the widget's signals blocked, so every selection
    // change seen here is the user's.
    connect(list, &QListWidget::itemSelectionChanged, this, [&model, list] {
        for (int row = 0; row < list->count() && row < model.count(); ++row)
            model.setSelected(row, list->item(row)->isSelected());
    });
}

void BatchEditorBinder::bindCommands()
{
    auto button = [this](QAbstractButton* widget, void (TBatchDlg::*handler)()) {
        connect(widget, &QAbstractButton::clicked, this, [this, handler] { run(handler); });
    };
    button(m_view.SpeedButton3, &TBatchDlg::SpeedButton3Click);
    button(m_view.SpeedButton4, &TBatchDlg::SpeedButton4Click);
    button(m_view.Cancel, &TBatchDlg::CancelClick);
    button(m_view.Exit, &TBatchDlg::ExitClick);
    auto menu = [this](QAction* action, void (TBatchDlg::*handler)()) {
        connect(action, &QAction::triggered, this, [this, handler] { run(handler); });
    };
    menu(m_view.New1, &TBatchDlg::New1Click);
    menu(m_view.Open1, &TBatchDlg::Open1Click);
    menu(m_view.Save1, &TBatchDlg::Save1Click);
    menu(m_view.SaveAsMenu, &TBatchDlg::SaveAsMenuClick);
    menu(m_view.Exit1, &TBatchDlg::ExitClick);
    connect(m_view.FileList, &QListWidget::itemDoubleClicked, this,
            [this] { run(&TBatchDlg::FileListDblClick); });
    connect(m_view.BatchList, &QListWidget::itemDoubleClicked, this,
            [this] { run(&TBatchDlg::BatchListDblClick); });
    connect(m_view.Help, &QAction::triggered, this, [this] {
        m_app.command(
            [&services = m_app.services()] { services.showHelpTopic(BatchEditorHelpTopic); });
    });
    // Escape and the close box close at once, as Cancel does; closing never saves.
    connect(&m_view, &QDialog::rejected, this, [this] { run(&TBatchDlg::closeBoxClicked); });
}

} // namespace twinfold
