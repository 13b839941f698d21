#include "CommandLine.h"
#include "QtServices.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("twinfold"));
    QApplication::setApplicationDisplayName(QString::fromLatin1(twinfold::ApplicationTitle));
    QApplication::setApplicationVersion(QStringLiteral(TWINFOLD_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/twinfold.svg")));
    const twinfold::StartOptions options = twinfold::parseCommandLine(QApplication::arguments());
    (void)options; // handed to Application::start once the views are bound to the models
    twinfold::QtServices services;
    services.showHelpContents();
    return QApplication::exec();
}
