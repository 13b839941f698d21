#include "DialogViews.h"

#include "BindingKit.h"
#include "Bindings.h"

#include "app/Application.h"

#include <QAbstractTableModel>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLocale>
#include <QVBoxLayout>

namespace twinfold
{

namespace
{

// A read-only table over rows that the preview model holds: the view asks for the cells it
// draws and nothing else, so a list of a hundred thousand rows costs no more to show than one
// screen.
class RowsModel : public QAbstractTableModel
{
public:
    // `cell` gives the text of a cell for a role (display, tool tip, alignment), an empty
    // QVariant for none.
    RowsModel(QStringList headers, std::function<int()> count,
              std::function<QVariant(int row, int column, int role)> cell, QObject* parent)
        : QAbstractTableModel(parent), m_headers(std::move(headers)), m_count(std::move(count)),
          m_cell(std::move(cell))
    {
    }
    // The rows changed as a whole: the views read them afresh.
    void reload()
    {
        beginResetModel();
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : m_count();
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_headers.size());
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        return index.isValid() && index.row() < m_count()
                   ? m_cell(index.row(), index.column(), role)
                   : QVariant();
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        return orientation == Qt::Horizontal && role == Qt::DisplayRole &&
                       section < m_headers.size()
                   ? QVariant(m_headers.at(section))
                   : QVariant();
    }

private:
    QStringList m_headers;
    std::function<int()> m_count;
    std::function<QVariant(int, int, int)> m_cell;
};

QTreeView* rowList(QWidget* parent)
{
    auto* list = new QTreeView(parent);
    // A flat list of fixed-height rows: the view lays out only what it draws.
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setItemsExpandable(false);
    list->setAllColumnsShowFocus(true);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    return list;
}

QLabel* listLabel(const QString& text, QTreeView* list)
{
    auto* label = new QLabel(text);
    label->setBuddy(list);
    return label;
}

// Sized once, never to the contents: measuring every row would cost what the model saves.
void sizeFileColumns(QTreeView* list)
{
    QHeaderView* header = list->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    header->setSectionResizeMode(1, QHeaderView::Interactive);
    header->setSectionResizeMode(2, QHeaderView::Interactive);
    const QFontMetrics metrics = list->fontMetrics();
    header->resizeSection(1, metrics.horizontalAdvance(QStringLiteral("older or same")) + 16);
    header->resizeSection(2, metrics.horizontalAdvance(QStringLiteral("0,000,000,000")) + 16);
}

RowsModel* fileRows(QTreeView* list, const TPreview& preview, bool toCopy)
{
    auto files = [&preview, toCopy]() -> const std::vector<TPreview::File>& {
        return toCopy ? preview.toCopy() : preview.leftAlone();
    };
    auto* rows = new RowsModel(
        {QStringLiteral("File"), QStringLiteral("Reason"), QStringLiteral("Size")},
        [files] { return static_cast<int>(files().size()); },
        [&preview, files](int row, int column, int role) -> QVariant {
            const TPreview::File& file = files()[static_cast<std::size_t>(row)];
            if (role == Qt::ToolTipRole && column == 0)
                return qText(file.path);
            if (role == Qt::TextAlignmentRole && column == 2)
                return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
            if (role != Qt::DisplayRole)
                return {};
            if (column == 0)
                return qText(preview.shownFile(file.path));
            if (column == 1)
                return QString::fromLatin1(reasonName(file.reason));
            return QLocale().toString(static_cast<qlonglong>(file.size));
        },
        list);
    list->setModel(rows);
    sizeFileColumns(list);
    return rows;
}

RowsModel* directoryRows(QTreeView* list, const TPreview& preview)
{
    auto* rows = new RowsModel(
        {QStringLiteral("Directory")},
        [&preview] { return static_cast<int>(preview.directories().size()); },
        [&preview](int row, int, int role) -> QVariant {
            const std::string& path = preview.directories()[static_cast<std::size_t>(row)];
            if (role == Qt::ToolTipRole)
                return qText(path);
            if (role == Qt::DisplayRole)
                return qText(preview.shownDirectory(path));
            return {};
        },
        list);
    list->setModel(rows);
    return rows;
}

} // namespace

PreviewView::PreviewView(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      From(new PathLabel), To(new PathLabel), ToCopy(rowList(this)), LeftAlone(rowList(this)),
      Directories(rowList(this)), Totals(new QLabel),
      SyncBtn(new QPushButton(QStringLiteral("&Sync"))),
      CloseBtn(new QPushButton(QStringLiteral("Close")))
{
    setWindowTitle(QStringLiteral("Preview"));
    auto* places = new QFormLayout;
    places->addRow(QStringLiteral("From:"), From);
    places->addRow(QStringLiteral("To:"), To);
    SyncBtn->setDefault(true);
    CloseBtn->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Totals, 1);
    buttons->addWidget(SyncBtn);
    buttons->addWidget(CloseBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(places);
    layout->addWidget(listLabel(QStringLiteral("Files to &copy:"), ToCopy));
    layout->addWidget(ToCopy, 3);
    layout->addWidget(listLabel(QStringLiteral("Files &left alone (older or same):"), LeftAlone));
    layout->addWidget(LeftAlone, 2);
    layout->addWidget(listLabel(QStringLiteral("&Directories to make:"), Directories));
    layout->addWidget(Directories, 2);
    layout->addLayout(buttons);
    Totals->setWordWrap(true);
    resize(680, 560);
    setTabOrder(ToCopy, LeftAlone);
    setTabOrder(LeftAlone, Directories);
    setTabOrder(Directories, SyncBtn);
    setTabOrder(SyncBtn, CloseBtn);
}

void bindPreview(BindingKit& kit, Application& app, PreviewView& view)
{
    TPreview& preview = app.Preview;
    RowsModel* toCopy = fileRows(view.ToCopy, preview, true);
    RowsModel* leftAlone = fileRows(view.LeftAlone, preview, false);
    RowsModel* directories = directoryRows(view.Directories, preview);
    kit.follow(preview.listsChanged, [toCopy, leftAlone, directories] {
        toCopy->reload();
        leftAlone->reload();
        directories->reload();
    });
    for (QTreeView* list : {view.ToCopy, view.LeftAlone, view.Directories})
        kit.keyboardList(list);
    kit.label(preview.From, view.From);
    kit.label(preview.To, view.To);
    kit.label(preview.Totals, view.Totals);
    kit.press(view.SyncBtn, BindingKit::call(preview, &TPreview::SyncBtnClick));
    kit.press(view.CloseBtn, BindingKit::call(preview, &TPreview::CloseBtnClick));
    // Escape and the close box close the window as Close does.
    kit.rejected(&view, BindingKit::call(preview, &TPreview::CloseBtnClick));
}

} // namespace twinfold
