#include "BindingKit.h"
#include "Bindings.h"
#include "OptionsView.h"

#include "app/Application.h"

namespace twinfold
{

void bindOptions(BindingKit& kit, Application& app, OptionsView& view)
{
    TOptionsbx& options = app.Optionsbx;
    auto call = [&options](void (TOptionsbx::*handler)()) {
        return BindingKit::call(options, handler);
    };
    kit.text(options.EditInclude, view.EditInclude);
    kit.text(options.EditExclude, view.EditExclude);
    kit.press(view.EditInclude, [&options] { options.EditIncludeKeyDown(TOptionsbx::VK_RETURN); });
    kit.press(view.EditExclude, [&options] { options.EditExcludeKeyDown(TOptionsbx::VK_RETURN); });
    kit.list(options.IncludeList, view.IncludeList, {}, call(&TOptionsbx::IncludeListDblClick));
    kit.list(options.ExcludeList, view.ExcludeList, {}, call(&TOptionsbx::ExcludeListDblClick));
    kit.press(view.AddInclude, call(&TOptionsbx::AddIncludeClick));
    kit.press(view.AddExclude, call(&TOptionsbx::AddExcludeClick));
    kit.press(view.Clear, call(&TOptionsbx::ClearClick));
    kit.press(view.Ok, call(&TOptionsbx::OkClick));
    kit.radios(options.CopyBuffer,
               {view.Mem32K, view.Mem128K, view.Mem256k, view.Mem512k, view.Mem1mb},
               {call(&TOptionsbx::Mem32KClick), call(&TOptionsbx::Mem128KClick),
                call(&TOptionsbx::Mem256kClick), call(&TOptionsbx::Mem512kClick),
                call(&TOptionsbx::Mem1mbClick)});
    kit.check(options.AutoContinue, view.AutoContinue);
    kit.number(options.EditTimeShift, view.EditTimeShift, call(&TOptionsbx::EditTimeShiftChange));
    kit.number(options.EditJobs, view.EditJobs, call(&TOptionsbx::EditJobsChange));
    // Only the close box rejects: Escape presses Clear in this dialog.
    kit.rejected(&view, call(&TOptionsbx::closeBoxClicked));
}

} // namespace twinfold
