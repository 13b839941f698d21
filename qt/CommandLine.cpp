#include "CommandLine.h"

#include "platform/FileSystem.h"

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

    // Made absolute here, while the current directory is still the one the program was started
    // in: start-up enters the configuration directory, and the batch file's path is stored.
    StartOptions options;
    const std::string dir = parser.value(configDir).toStdString();
    options.configDir = dir.empty() ? dir : expandFileName(dir);
    // Further parameters are not used, as on the designed command line.
    if (!parser.positionalArguments().isEmpty()) {
        const std::string batchFile = parser.positionalArguments().constFirst().toStdString();
        options.batchFile = batchFile.empty() ? batchFile : expandFileName(batchFile);
    }
    return options;
}

} // namespace twinfold
