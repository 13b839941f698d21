// twinfold-cli: Twinfold's runs for scripts and scheduled jobs.
#include "Arguments.h"
#include "BatchCommand.h"
#include "OutputWatch.h"
#include "RunReport.h"
#include "SyncCommand.h"
#include "platform/Terminal.h"
#include "platform/Termination.h"

#include <exception>
#include <iostream>
#include <variant>

static int dispatch(int argc, char** argv)
{
    using namespace twinfold::cli;
    try {
        const auto command = parseCommandLine(argc, argv);
        if (const auto* sync = std::get_if<SyncOptions>(&command))
            return runSync(*sync);
        if (const auto* batch = std::get_if<BatchOptions>(&command))
            return runBatch(*batch);
        return std::get<int>(command);
    } catch (const std::exception& failure) {
        // The runs report their own failures; this is one before or around them.
        std::cerr << "twinfold-cli: " << failure.what() << std::endl;
        return ExitAbandoned;
    }
}

int main(int argc, char** argv)
{
    using twinfold::cli::checkedExitStatus;
    twinfold::ensureStandardStreamsOpen();
    twinfold::cli::watchStandardStreams();
    try {
        return checkedExitStatus(dispatch(argc, argv));
    } catch (const twinfold::Terminated& end) {
        return checkedExitStatus(end.exitStatus());
    }
}
