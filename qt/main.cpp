#include "CommandLine.h"
#include "HelpWindow.h"
#include "Program.h"
#include "Screenshots.h"
#include "WindowPlaces.h"

#include "platform/Terminal.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[])
{
    twinfold::ensureStandardStreamsOpen();
    // Captions are the program's own texts: no application display name is appended to them.
    QApplication::setApplicationName(QStringLiteral("twinfold"));
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.twinfold.Twinfold"));
    QApplication::setApplicationVersion(QStringLiteral(TWINFOLD_VERSION));
    twinfold::answerInformationOptions(argc, argv);
    QApplication app(argc, argv);
    // The icons live in the static view library, whose resources are not registered by themselves.
    Q_INIT_RESOURCE(icons);
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/twinfold-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
    const twinfold::StartOptions options = twinfold::parseCommandLine(QApplication::arguments());
    twinfold::Program program;
    // The exit steps end with the main window model closed; the program ends with it.
    const twinfold::Connection quit =
        program.app.Main.closed.connect([] { QCoreApplication::quit(); });
    // With TWINFOLD_SCREENSHOTS=DIR each window is drawn into DIR and the program ends, which
    // scripts/screenshots.sh uses; the windows are then drawn where and as large as they are
    // designed, and no place is kept.
    const QString screenshots = qEnvironmentVariable("TWINFOLD_SCREENSHOTS");
    twinfold::WindowPlaces places(twinfold::WindowPlaces::defaultFile());
    if (screenshots.isEmpty()) {
        places.keep(program.mainView, QStringLiteral("main"));
        places.keep(program.logView, QStringLiteral("log"));
        places.keep(program.batchView, QStringLiteral("batch"));
        places.keep(*program.services.helpWindow(), QStringLiteral("help"));
    }
    program.start(options);
    if (!screenshots.isEmpty()) {
        twinfold::drawScreenshots(program, screenshots);
        return 0;
    }
    program.services.showMainView();
    return QApplication::exec();
}
