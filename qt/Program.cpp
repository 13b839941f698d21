#include "Program.h"

#include "Bindings.h"

namespace twinfold
{

Program::Program()
{
    services.setMainView(&mainView);
    services.registerView(app.Main, &mainView);
    services.registerView(app.SyncBox, &syncView);
    services.registerView(app.LogFilebx, &logView);
    services.registerView(app.Optionsbx, &optionsView);
    services.registerView(app.BatchDlg, &batchView);
    services.registerView(app.Delete, &deleteView);
    services.registerView(app.AboutBox, &aboutView);
    services.registerView(app.SpecialBox, &specialView);
    services.registerView(app.Preview, &previewView);
    bindMainWindow(kit(&Application::mainCommand), app, mainView);
    bindSyncBox(kit(), app, syncView, &mainView);
    bindLogFile(kit(), app, logView);
    bindOptions(kit(), app, optionsView);
    bindBatchEditor(kit(), app, batchView);
    bindDeleteDialog(kit(), app, deleteView);
    bindAboutBox(kit(), app, aboutView, specialView);
    bindPreview(kit(), app, previewView);
}

Program::~Program() = default;

BindingKit& Program::kit(BindingKit::Dispatch dispatch)
{
    return *m_kits.emplace_back(std::make_unique<BindingKit>(app, dispatch));
}

} // namespace twinfold
