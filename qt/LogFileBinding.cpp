#include "BindingKit.h"
#include "Bindings.h"
#include "LogFileView.h"

#include "app/Application.h"

#include <array>
#include <utility>

namespace twinfold
{

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
                texts << QString::fromStdString(entry);
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
                widget->addItem(QString::fromStdString(path));
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
