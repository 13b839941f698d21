#include "Program.h"
#include "WindowPlaces.h"

#include "platform/FileSystem.h"
#include "platform/Terminal.h"

#include <QApplication>
#include <QCommandLineParser>

namespace
{

// twinfold [--config-dir DIR] [BATCHFILE]
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

twinfold::StartOptions parseCommandLine(const QStringList& arguments)
{
    Parser command;
    command.parser.process(arguments);

    // Made absolute here, while the current directory is still the one the program was started
    // in: start-up enters the configuration directory, and the batch file's path is stored.
    twinfold::StartOptions options;
    const std::string dir = command.parser.value(command.configDir).toStdString();
    options.configDir = dir.empty() ? dir : twinfold::expandFileName(dir);
    // Further parameters are not used, as on the designed command line.
    if (!command.parser.positionalArguments().isEmpty()) {
        const std::string batchFile =
            command.parser.positionalArguments().constFirst().toStdString();
        options.batchFile = batchFile.empty() ? batchFile : twinfold::expandFileName(batchFile);
    }
    return options;
}

// Answers --help and --version, printing and exiting, before the toolkit starts: they need no
// display. Any other command line is left for parseCommandLine, once the toolkit has taken
// its own options (-platform, -style, ...) out of it.
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

} // namespace

int main(int argc, char* argv[])
{
    twinfold::ensureStandardStreamsOpen();
    twinfold::Program::nameApplication();
    QApplication::setApplicationVersion(QStringLiteral(TWINFOLD_VERSION));
    answerInformationOptions(argc, argv);
    QApplication app(argc, argv);
    const twinfold::StartOptions options = parseCommandLine(QApplication::arguments());
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
