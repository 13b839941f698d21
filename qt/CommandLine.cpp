#include "CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace twinfold
{

namespace
{

struct Parser {
    QCommandLineParser parser;
    QCommandLineOption help = parser.addHelpOption();
    QCommandLineOption version = parser.addVersionOption();
    QCommandLineOption configDir{QStringLiteral("config-dir"),
                                 QStringLiteral("Use DIR in place of ~/.config/twinfold."),
                                 QStringLiteral("DIR")};

    Parser()
    {
        parser.setApplicationDescription(QStringLiteral("One-way directory synchronisation"));
        parser.addOption(configDir);
        parser.addPositionalArgument(QStringLiteral("BATCHFILE"),
                                     QStringLiteral("Run this batch file, then close."),
                                     QStringLiteral("[BATCHFILE]"));
    }
};

} // namespace

StartOptions parseCommandLine(const QStringList& arguments)
{
    Parser command;
    command.parser.process(arguments);

    StartOptions options;
    options.configDir = command.parser.value(command.configDir).toStdString();
    // Further parameters are not used, as on the designed command line.
    if (!command.parser.positionalArguments().isEmpty())
        options.batchFile = command.parser.positionalArguments().constFirst().toStdString();
    return options;
}

void answerInformationOptions(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    Parser command;
    // Unknown options are the toolkit's own or mistakes; either way the full parse judges them.
    command.parser.parse(arguments);
    if (command.parser.isSet(command.help) || command.parser.isSet(QStringLiteral("help-all"))) {
        // The usage line names the program as started, which only an application object knows;
        // one without a display is enough.
        QCoreApplication named(argc, argv);
        command.parser.showHelp();
    }
    if (command.parser.isSet(command.version))
        command.parser.showVersion();
}

} // namespace twinfold
