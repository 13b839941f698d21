#include "BindingKit.h"
#include "Bindings.h"
#include "PreviewView.h"
#include "RowsModel.h"

#include "app/Application.h"

#include <QHeaderView>
#include <QLocale>

namespace twinfold
{

namespace
{

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
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
                return qs(file.path);
            if (role == Qt::TextAlignmentRole && column == 2)
                return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
            if (role != Qt::DisplayRole)
                return {};
            if (column == 0)
                return qs(preview.shownFile(file.path));
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
                return qs(path);
            if (role == Qt::DisplayRole)
                return qs(preview.shownDirectory(path));
            return {};
        },
        list);
    list->setModel(rows);
    return rows;
}

} // namespace

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
