#include "CommandLine.h"

#include <QCommandLineParser>

namespace twinfold
{

StartOptions parseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("One-way directory synchronisation"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption configDir(QStringLiteral("config-dir"),
                                       QStringLiteral("Use DIR in place of ~/.config/twinfold."),
                                       QStringLiteral("DIR"));
    parser.addOption(configDir);
    parser.addPositionalArgument(QStringLiteral("BATCHFILE"),
                                 QStringLiteral("Run this batch file, then close."),
                                 QStringLiteral("[BATCHFILE]"));
    parser.process(arguments);

    StartOptions options;
    options.configDir = parser.value(configDir).toStdString();
    // Further parameters are not used, as on the designed command line.
    if (!parser.positionalArguments().isEmpty())
        options.batchFile = parser.positionalArguments().constFirst().toStdString();
    return options;
}

} // namespace twinfold
