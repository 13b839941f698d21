#include "AboutBoxBinder.h"
#include "AboutBoxView.h"
#include "BatchEditorBinder.h"
#include "BatchEditorView.h"
#include "CommandLine.h"
#include "DeleteDialogBinder.h"
#include "DeleteDialogView.h"
#include "HelpWindow.h"
#include "LogFileBinder.h"
#include "LogFileView.h"
#include "MainWindowBinder.h"
#include "MainWindowView.h"
#include "OptionsBinder.h"
#include "OptionsView.h"
#include "QtServices.h"
#include "Screenshots.h"
#include "SpecialBoxView.h"
#include "SyncBoxBinder.h"
#include "SyncBoxView.h"

#include "app/Application.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("twinfold"));
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.twinfold.Twinfold"));
    QApplication::setApplicationDisplayName(QString::fromLatin1(twinfold::ApplicationTitle));
    QApplication::setApplicationVersion(QStringLiteral(TWINFOLD_VERSION));
    // The icons live in the static view library, whose resources are not registered by themselves.
    Q_INIT_RESOURCE(icons);
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/twinfold-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
    const twinfold::StartOptions options = twinfold::parseCommandLine(QApplication::arguments());
    twinfold::QtServices services;
    twinfold::MainWindowView mainView;
    services.setMainView(&mainView);
    twinfold::Application program(services);
    twinfold::SyncBoxView syncView(&mainView);
    services.registerView(program.Main, &mainView);
    twinfold::LogFileView logView(&mainView);
    twinfold::OptionsView optionsView(&mainView);
    services.registerView(program.SyncBox, &syncView);
    services.registerView(program.LogFilebx, &logView);
    services.registerView(program.Optionsbx, &optionsView);
    twinfold::BatchEditorView batchView(&mainView);
    twinfold::DeleteDialogView deleteView(&mainView);
    twinfold::AboutBoxView aboutView(&mainView);
    twinfold::SpecialBoxView specialView(&aboutView);
    services.registerView(program.BatchDlg, &batchView);
    services.registerView(program.Delete, &deleteView);
    services.registerView(program.AboutBox, &aboutView);
    services.registerView(program.SpecialBox, &specialView);
    // The views follow the models from before the start, which already fills the main window.
    new twinfold::MainWindowBinder(program, mainView);
    new twinfold::SyncBoxBinder(program, syncView, &mainView);
    new twinfold::LogFileBinder(program, logView);
    new twinfold::OptionsBinder(program, optionsView);
    new twinfold::BatchEditorBinder(program, batchView);
    new twinfold::DeleteDialogBinder(program, deleteView);
    new twinfold::AboutBoxBinder(program, aboutView, specialView);
    // The exit steps end with the main window model closed; the program ends with it.
    const twinfold::Connection quit = program.Main.closed.connect([] { QCoreApplication::quit(); });
    program.start(options);
    // With TWINFOLD_SCREENSHOTS=DIR each window is drawn into DIR and the program ends, which
    // scripts/screenshots.sh uses.
    const QString screenshots = qEnvironmentVariable("TWINFOLD_SCREENSHOTS");
    if (!screenshots.isEmpty()) {
        twinfold::drawScreenshots(program, services, screenshots);
        return 0;
    }
    mainView.show();
    return QApplication::exec();
}
