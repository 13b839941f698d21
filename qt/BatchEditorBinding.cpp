#include "BatchEditorView.h"
#include "BindingKit.h"
#include "Bindings.h"

#include "app/Application.h"

namespace twinfold
{

namespace
{

constexpr int BatchEditorHelpTopic = 4;

} // namespace

void bindBatchEditor(BindingKit& kit, Application& app, BatchEditorView& view)
{
    TBatchDlg& editor = app.BatchDlg;
    auto call = [&editor](void (TBatchDlg::*handler)()) {
        return BindingKit::call(editor, handler);
    };
    // The caption is a plain text of the model, changed only by its handlers.
    kit.afterEach = [&editor, &view] {
        view.setWindowTitle(QString::fromStdString(editor.Caption));
    };
    kit.afterEach();
    kit.follow(editor.shown, [&kit, &view] {
        kit.afterEach();
        view.FileList->setFocus();
    });
    kit.combo(editor.DriveComboBox1, view.DriveComboBox1, call(&TBatchDlg::DriveComboBox1Change));
    kit.label(editor.SourceLabel, view.SourceLabel);
    kit.directory(editor.SDirList, view.SDirList);
    kit.list(editor.FileList, view.FileList, {}, call(&TBatchDlg::FileListDblClick));
    kit.combo(editor.FilterComboBox1, view.FilterComboBox1,
              call(&TBatchDlg::FilterComboBox1Change));
    kit.list(editor.BatchList, view.BatchList, {}, call(&TBatchDlg::BatchListDblClick));
    kit.press(view.SpeedButton3, call(&TBatchDlg::SpeedButton3Click));
    kit.press(view.SpeedButton4, call(&TBatchDlg::SpeedButton4Click));
    kit.press(view.Cancel, call(&TBatchDlg::CancelClick));
    kit.press(view.Exit, call(&TBatchDlg::ExitClick));
    kit.press(view.New1, call(&TBatchDlg::New1Click));
    kit.press(view.Open1, call(&TBatchDlg::Open1Click));
    kit.press(view.Save1, call(&TBatchDlg::Save1Click));
    kit.press(view.SaveAsMenu, call(&TBatchDlg::SaveAsMenuClick));
    kit.press(view.Exit1, call(&TBatchDlg::ExitClick));
    kit.press(view.Help,
              [&services = app.services()] { services.showHelpTopic(BatchEditorHelpTopic); });
    // Escape and the close box close at once, as Cancel does; closing never saves.
    kit.rejected(&view, call(&TBatchDlg::closeBoxClicked));
}

} // namespace twinfold
