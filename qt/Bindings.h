#pragma once

class QWidget;

namespace twinfold
{

class AboutBoxView;
class Application;
class BatchEditorView;
class BindingKit;
class DeleteDialogView;
class LogFileView;
class MainWindowView;
class OptionsView;
class PreviewView;
class SpecialBoxView;
class SyncBoxView;

// The bindings of the program's windows to their models, one for each window, each into a
// kit of its own that lives as long as the window.
void bindMainWindow(BindingKit& kit, Application& app, MainWindowView& view);
// `over` is the window the progress window is centred on.
void bindSyncBox(BindingKit& kit, Application& app, SyncBoxView& view, QWidget* over);
void bindLogFile(BindingKit& kit, Application& app, LogFileView& view);
void bindOptions(BindingKit& kit, Application& app, OptionsView& view);
void bindBatchEditor(BindingKit& kit, Application& app, BatchEditorView& view);
void bindDeleteDialog(BindingKit& kit, Application& app, DeleteDialogView& view);
void bindAboutBox(BindingKit& kit, Application& app, AboutBoxView& about, SpecialBoxView& special);
void bindPreview(BindingKit& kit, Application& app, PreviewView& view);

} // namespace twinfold
