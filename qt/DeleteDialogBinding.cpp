#include "BindingKit.h"
#include "Bindings.h"
#include "DeleteDialogView.h"

#include "app/Application.h"

namespace twinfold
{

void bindDeleteDialog(BindingKit& kit, Application& app, DeleteDialogView& view)
{
    TDelete& dialog = app.Delete;
    kit.text(dialog.Edit1, view.Edit1);
    kit.check(dialog.DelSubdir, view.DelSubdir);
    kit.press(view.BitBtn2, BindingKit::call(dialog, &TDelete::BitBtn2Click));
    // Cancel, Escape and the close box all reject the dialog; each of them is Cancel.
    kit.rejected(&view, BindingKit::call(dialog, &TDelete::BitBtn1Click));
    kit.follow(dialog.shown, [&view] {
        view.Edit1->setFocus();
        view.Edit1->selectAll();
    });
}

} // namespace twinfold
