#include "LogFileView.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace twinfold
{

namespace
{

QListWidget* resultList(QWidget* parent)
{
    auto* list = new QListWidget(parent);
    // Source paths are long; the designed 1000-pixel sideways extent becomes a scroll bar that
    // appears whenever a path is wider than the list.
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Seven lines at the least; the lists take whatever the user makes the window larger by.
    list->setMinimumSize(440, 110);
    return list;
}

} // namespace

LogFileView::LogFileView(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      SuccessLabel(new QLabel(QStringLiteral("Files Successfully Copied:"))),
      FileSuccess(resultList(this)), SaveSuccess(new QPushButton(QStringLiteral("Save"))),
      OldLabel(new QLabel(QStringLiteral("Files Not Copied (Older or Same as Destination):"))),
      FileOld(resultList(this)), SaveOld(new QPushButton(QStringLiteral("Save"))),
      FailedLabel(new QLabel(QStringLiteral("Files Failed During Copy Process:"))),
      FileFailed(resultList(this)), SaveFail(new QPushButton(QStringLiteral("Save"))),
      BitBtn2(new QPushButton(QStringLiteral("Clear"))),
      BitBtn1(new QPushButton(QStringLiteral("OK")))
{
    setWindowTitle(QStringLiteral("Twinfold Log"));
    auto* grid = new QGridLayout;
    const std::pair<QLabel*, std::pair<QListWidget*, QPushButton*>> rows[] = {
        {SuccessLabel, {FileSuccess, SaveSuccess}},
        {OldLabel, {FileOld, SaveOld}},
        {FailedLabel, {FileFailed, SaveFail}}};
    int row = 0;
    for (const auto& [label, listAndSave] : rows) {
        grid->addWidget(label, row++, 0, 1, 2);
        grid->setRowStretch(row, 1);
        grid->addWidget(listAndSave.first, row, 0);
        grid->addWidget(listAndSave.second, row++, 1, Qt::AlignTop);
        listAndSave.second->setAutoDefault(false);
    }
    BitBtn2->setAutoDefault(false);
    BitBtn1->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn2);
    buttons->addWidget(BitBtn1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addLayout(buttons);
    setTabOrder(FileSuccess, SaveSuccess);
    setTabOrder(SaveSuccess, FileOld);
    setTabOrder(FileOld, SaveOld);
    setTabOrder(SaveOld, FileFailed);
    setTabOrder(FileFailed, SaveFail);
    setTabOrder(SaveFail, BitBtn2);
    setTabOrder(BitBtn2, BitBtn1);
    // It opens at its designed size, seven lines to a list; the user may make it larger.
    resize(sizeHint().width(), minimumSizeHint().height());
}

} // namespace twinfold
