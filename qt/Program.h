#pragma once

#include "BindingKit.h"
#include "DialogViews.h"
#include "MainWindowView.h"
#include "OptionsView.h"
#include "QtServices.h"
#include "RunAttention.h"
#include "SyncBoxView.h"

#include "app/Application.h"

#include <memory>
#include <vector>

namespace twinfold
{

// The desktop program put together: the windowing services, the models, each window's view
// and its binding. The program, its tests and its screenshots are all this one assembly.
// Needs a QApplication; the views follow the models from before the start.
class Program
{
public:
    // The names the desktop knows the program by; set before the toolkit starts, since
    // --version is answered without it.
    static void nameApplication();

    Program();

    void start(const StartOptions& options) { app.start(options); }

    QtServices services;
    MainWindowView mainView;
    Application app{services};
    SyncBoxView syncView{&mainView};
    LogFileView logView{&mainView};
    OptionsView optionsView{&mainView};
    BatchEditorView batchView{&mainView};
    DeleteDialogView deleteView{&mainView};
    AboutBoxView aboutView{&mainView};
    SpecialBoxView specialView{&aboutView};
    PreviewView previewView{&mainView};
    RunAttention attention{app, mainView};

private:
    BindingKit& kit(BindingKit::Dispatch dispatch = &Application::command);

    // Declared last, so that the bindings end before the views and models they join.
    std::vector<std::unique_ptr<BindingKit>> m_kits;
};

} // namespace twinfold
