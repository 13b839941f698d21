#include "DialogViews.h"

#include "BindingKit.h"
#include "Bindings.h"

#include "app/Application.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <array>
#include <tuple>

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
      FileSuccess(resultList(this)), SaveSuccess(new QPushButton(QStringLiteral("Save"))),
      FileOld(resultList(this)), SaveOld(new QPushButton(QStringLiteral("Save"))),
      FileFailed(resultList(this)), SaveFail(new QPushButton(QStringLiteral("Save"))),
      BitBtn2(new QPushButton(QStringLiteral("Clear"))),
      BitBtn1(new QPushButton(QStringLiteral("OK")))
{
    setWindowTitle(QStringLiteral("Twinfold Log"));
    auto* grid = new QGridLayout;
    const std::tuple<const char*, QListWidget*, QPushButton*> rows[] = {
        {"Files Successfully Copied:", FileSuccess, SaveSuccess},
        {"Files Not Copied (Older or Same as Destination):", FileOld, SaveOld},
        {"Files Failed During Copy Process:", FileFailed, SaveFail}};
    int row = 0;
    for (const auto& [label, list, save] : rows) {
        grid->addWidget(new QLabel(QString::fromLatin1(label)), row++, 0, 1, 2);
        grid->setRowStretch(row, 1);
        grid->addWidget(list, row, 0);
        grid->addWidget(save, row++, 1, Qt::AlignTop);
        save->setAutoDefault(false);
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
    QWidget* const order[] = {FileSuccess, SaveSuccess, FileOld, SaveOld,
                              FileFailed,  SaveFail,    BitBtn2, BitBtn1};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    // It opens at its designed size, seven lines to a list; the user may make it larger.
    resize(sizeHint().width(), minimumSizeHint().height());
}

void bindLogFile(BindingKit& kit, Application& app, LogFileView& view)
{
    TLogFilebx& log = app.LogFilebx;
    const std::array<std::pair<const TLogFilebx::List*, QListWidget*>, 3> lists{
        {{&log.FileSuccess, view.FileSuccess},
         {&log.FileOld, view.FileOld},
         {&log.FileFailed, view.FileFailed}}};
    // The lists grow by the thousand during a run; the window reads them when it is shown,
    // and again after each of its buttons.
    kit.afterEach = [lists] {
        for (const auto& [entries, widget] : lists) {
            QStringList texts;
            texts.reserve(qsizetype(entries->size()));
            for (const std::string& entry : *entries)
                texts << qText(entry);
            widget->clear();
            widget->addItems(texts);
        }
    };
    kit.follow(log.shown, kit.afterEach);
    kit.follow(log.added, [&view, lists](const TLogFilebx::List& list, const std::string& path) {
        if (!view.isVisible())
            return;
        for (const auto& [entries, widget] : lists)
            if (entries == &list)
                widget->addItem(qText(path));
    });
    for (const auto& list : lists)
        kit.keyboardList(list.second);
    auto call = [&log](void (TLogFilebx::*handler)()) { return BindingKit::call(log, handler); };
    kit.press(view.SaveSuccess, call(&TLogFilebx::SaveSuccessClick));
    kit.press(view.SaveOld, call(&TLogFilebx::SaveOldClick));
    kit.press(view.SaveFail, call(&TLogFilebx::SaveFailClick));
    kit.press(view.BitBtn2, call(&TLogFilebx::BitBtn2Click));
    kit.press(view.BitBtn1, call(&TLogFilebx::BitBtn1Click));
    // Escape and the close box close the window as OK does; the lists stay.
    kit.rejected(&view, call(&TLogFilebx::BitBtn1Click));
}

} // namespace twinfold
