#include "CommandLine.h"
#include "HelpWindow.h"
#include "MainWindowView.h"
#include "QtServices.h"
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
    (void)options; // handed to Application::start once the views are bound to the models
    twinfold::QtServices services;
    twinfold::MainWindowView mainView;
    services.setMainView(&mainView);
    // Unbound for now: with TWINFOLD_SCREENSHOTS=DIR each window is drawn into DIR and the
    // program ends, which scripts/screenshots.sh uses.
    const QString screenshots = qEnvironmentVariable("TWINFOLD_SCREENSHOTS");
    if (!screenshots.isEmpty()) {
        twinfold::drawScreenshots(services, mainView, screenshots);
        return 0;
    }
    mainView.show();
    return QApplication::exec();
}
