#include "Program.h"

#include "Bindings.h"

#include <QApplication>
#include <QIcon>

// The icons live in the static view library, whose resources are not registered by themselves.
static void initIconResources()
{
    Q_INIT_RESOURCE(icons);
}

namespace twinfold
{

void Program::nameApplication()
{
    // Captions are the program's own texts: no application display name is appended to them.
    QApplication::setApplicationName(QStringLiteral("twinfold"));
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.twinfold.Twinfold"));
}

Program::Program()
{
    initIconResources();
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/twinfold-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
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

BindingKit& Program::kit(BindingKit::Dispatch dispatch)
{
    return *m_kits.emplace_back(std::make_unique<BindingKit>(app, dispatch));
}

} // namespace twinfold
