#include "Termination.h"

#include <csignal>
#include <pthread.h>

namespace twinfold
{

namespace
{

volatile std::sig_atomic_t endSignal = 0;
volatile std::sig_atomic_t interruptPending = 0;
volatile std::sig_atomic_t interruptArrived = 0;

void onEndSignal(int signal)
{
    endSignal = signal;
}

void onInterrupt(int signal)
{
    if (interruptArrived != 0)
        endSignal = signal;
    interruptArrived = 1;
    interruptPending = 1;
}

void handle(int signal, void (*handler)(int))
{
    struct sigaction action {
    };
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a call that waits on a slow file system returns, so the end is noticed.
    action.sa_flags = 0;
    ::sigaction(signal, &action, nullptr);
}

} // namespace

void installTerminationHandlers()
{
    handle(SIGTERM, onEndSignal);
    handle(SIGHUP, onEndSignal);
    handle(SIGINT, onInterrupt);
}

void restoreTerminationHandlers()
{
    handle(SIGTERM, SIG_DFL);
    handle(SIGHUP, SIG_DFL);
    handle(SIGINT, SIG_DFL);
}

int terminationSignal()
{
    return endSignal;
}

std::string signalName(int signal)
{
    switch (signal) {
    case SIGTERM:
        return "SIGTERM";
    case SIGHUP:
        return "SIGHUP";
    case SIGINT:
        return "SIGINT";
    default:
        return "signal " + std::to_string(signal);
    }
}

bool takeInterruptRequest()
{
    if (interruptPending == 0)
        return false;
    interruptPending = 0;
    return true;
}

bool interruptSeen()
{
    return interruptArrived != 0;
}

void leaveSignalsToMainThread()
{
    sigset_t signals;
    sigemptyset(&signals);
    for (const int signal : {SIGTERM, SIGHUP, SIGINT})
        sigaddset(&signals, signal);
    ::pthread_sigmask(SIG_BLOCK, &signals, nullptr);
}

void throwIfTerminated()
{
    if (const int signal = endSignal; signal != 0)
        throw Terminated(signal);
}

} // namespace twinfold
