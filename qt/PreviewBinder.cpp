#include "PreviewBinder.h"

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

} // namespace

PreviewBinder::PreviewBinder(Application& app, PreviewView& view)
    : QObject(&view), m_app(app), m_preview(app.Preview), m_view(view)
{
    RowsModel* toCopy = fileRows(view.ToCopy, true);
    RowsModel* leftAlone = fileRows(view.LeftAlone, false);
    RowsModel* directories = directoryRows(view.Directories);
    m_connections.push_back(m_preview.listsChanged.connect([toCopy, leftAlone, directories] {
        toCopy->reload();
        leftAlone->reload();
        directories->reload();
    }));
    auto label = [this](Label& model, auto show) {
        show(qs(model.text()));
        m_connections.push_back(
            model.textChanged.connect([show](const std::string& text) { show(qs(text)); }));
    };
    label(m_preview.From, [&view](const QString& text) { view.From->setPath(text); });
    label(m_preview.To, [&view](const QString& text) { view.To->setPath(text); });
    label(m_preview.Totals, [&view](const QString& text) { view.Totals->setText(text); });
    connect(view.SyncBtn, &QPushButton::clicked, this,
            [this] { m_app.command([&preview = m_preview] { preview.SyncBtnClick(); }); });
    connect(view.CloseBtn, &QPushButton::clicked, this,
            [this] { m_app.command([&preview = m_preview] { preview.CloseBtnClick(); }); });
    // Escape and the close box close the window as Close does.
    connect(&view, &QDialog::rejected, this,
            [this] { m_app.command([&preview = m_preview] { preview.CloseBtnClick(); }); });
}

RowsModel* PreviewBinder::fileRows(QTreeView* list, bool toCopy)
{
    const TPreview& preview = m_preview;
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
        this);
    list->setModel(rows);
    // Sized once, never to the contents: measuring every row would cost what the model saves.
    QHeaderView* header = list->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    header->setSectionResizeMode(1, QHeaderView::Interactive);
    header->setSectionResizeMode(2, QHeaderView::Interactive);
    const int digits = list->fontMetrics().horizontalAdvance(QStringLiteral("0,000,000,000"));
    header->resizeSection(
        1, list->fontMetrics().horizontalAdvance(QStringLiteral("older or same")) + 16);
    header->resizeSection(2, digits + 16);
    return rows;
}

RowsModel* PreviewBinder::directoryRows(QTreeView* list)
{
    const TPreview& preview = m_preview;
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
        this);
    list->setModel(rows);
    return rows;
}

} // namespace twinfold
