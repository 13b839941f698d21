#include "CommandLine.h"
#include "HelpWindow.h"
#include "Program.h"
#include "WindowPlaces.h"

#include "platform/Terminal.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    twinfold::ensureStandardStreamsOpen();
    twinfold::Program::nameApplication();
    QApplication::setApplicationVersion(QStringLiteral(TWINFOLD_VERSION));
    twinfold::answerInformationOptions(argc, argv);
    QApplication app(argc, argv);
    const twinfold::StartOptions options = twinfold::parseCommandLine(QApplication::arguments());
    twinfold::Program program;
    // The exit steps end with the main window model closed; the program ends with it.
    const twinfold::Connection quit =
        program.app.Main.closed.connect([] { QCoreApplication::quit(); });
    twinfold::WindowPlaces places(twinfold::WindowPlaces::defaultFile());
    places.keep(program.mainView, QStringLiteral("main"));
    places.keep(program.logView, QStringLiteral("log"));
    places.keep(program.batchView, QStringLiteral("batch"));
    places.keep(*program.services.helpWindow(), QStringLiteral("help"));
    program.start(options);
    program.services.showMainView();
    return QApplication::exec();
}
