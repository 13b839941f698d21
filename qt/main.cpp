#include "CommandLine.h"
#include "Program.h"
#include "Screenshots.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("twinfold"));
    QApplication::setApplicationDisplayName(QString::fromLatin1(twinfold::ApplicationTitle));
    QApplication::setApplicationVersion(QStringLiteral(TWINFOLD_VERSION));
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
    program.start(options);
    // With TWINFOLD_SCREENSHOTS=DIR each window is drawn into DIR and the program ends, which
    // scripts/screenshots.sh uses.
    const QString screenshots = qEnvironmentVariable("TWINFOLD_SCREENSHOTS");
    if (!screenshots.isEmpty()) {
        twinfold::drawScreenshots(program, screenshots);
        return 0;
    }
    program.mainView.show();
    return QApplication::exec();
}
