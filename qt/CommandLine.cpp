#include "CommandLine.h"

#include "platform/FileSystem.h"

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

    // Made absolute here, while the current directory is still the one the program was started
    // in: start-up enters the configuration directory, and the batch file's path is stored.
    StartOptions options;
    const std::string dir = command.parser.value(command.configDir).toStdString();
    options.configDir = dir.empty() ? dir : expandFileName(dir);
    // Further parameters are not used, as on the designed command line.
    if (!command.parser.positionalArguments().isEmpty()) {
        const std::string batchFile =
            command.parser.positionalArguments().constFirst().toStdString();
        options.batchFile = batchFile.empty() ? batchFile : expandFileName(batchFile);
    }
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
