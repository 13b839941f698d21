#include "PreviewView.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

namespace twinfold
{

namespace
{

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

} // namespace

PreviewView::PreviewView(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      From(new PathLabel), To(new PathLabel), ToCopy(rowList(this)), LeftAlone(rowList(this)),
      Directories(rowList(this)), Totals(new QLabel),
      SyncBtn(new QPushButton(QStringLiteral("&Sync"))),
      CloseBtn(new QPushButton(QStringLiteral("Close")))
{
    setWindowTitle(QStringLiteral("Preview"));
    CopyLabel = listLabel(QStringLiteral("Files to &copy:"), ToCopy);
    AloneLabel = listLabel(QStringLiteral("Files &left alone (older or same):"), LeftAlone);
    DirectoriesLabel = listLabel(QStringLiteral("&Directories to make:"), Directories);
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
    layout->addWidget(CopyLabel);
    layout->addWidget(ToCopy, 3);
    layout->addWidget(AloneLabel);
    layout->addWidget(LeftAlone, 2);
    layout->addWidget(DirectoriesLabel);
    layout->addWidget(Directories, 2);
    layout->addLayout(buttons);
    Totals->setWordWrap(true);
    resize(680, 560);
    setTabOrder(ToCopy, LeftAlone);
    setTabOrder(LeftAlone, Directories);
    setTabOrder(Directories, SyncBtn);
    setTabOrder(SyncBtn, CloseBtn);
}

} // namespace twinfold
