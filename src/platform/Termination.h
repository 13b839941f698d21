#pragma once

#include <string>

namespace twinfold
{

// How a console program answers the signals that ask it to stop.
//
// SIGTERM and SIGHUP (a service stop, a closed terminal, a time limit) end the program
// promptly: the copy in progress notices within one buffer, abandons its temporary, and the
// program exits with 128 + the signal number. SIGINT is the user's Cancel, confirmed already:
// the run stops at its next poll between files. A second SIGINT ends the program like SIGTERM.
void installTerminationHandlers();
// Puts the default actions back.
void restoreTerminationHandlers();

// The signal that asked the program to end; 0 while none did.
int terminationSignal();

// "SIGTERM", "SIGHUP", "SIGINT" for the signals handled here, "signal N" for any other.
std::string signalName(int signal);

// True once for each SIGINT that asks for a Cancel; false after that until the next one.
bool takeInterruptRequest();
// Whether any SIGINT arrived since the handlers were installed.
bool interruptSeen();

// Thrown where a requested end is noticed and caught only where the program ends. It is no
// std::exception on purpose: the handlers that report a command's failure must not take an
// end the user asked for as one.
class Terminated
{
public:
    explicit Terminated(int signal) : m_signal(signal) {}
    int signal() const { return m_signal; }
    int exitStatus() const { return 128 + m_signal; }

private:
    int m_signal;
};

// Throws Terminated when a signal asked the program to end.
void throwIfTerminated();

// Called first by a helper thread: the signals handled here go to the program's main thread,
// whose waiting calls they must interrupt, never to a thread that would swallow them.
void leaveSignalsToMainThread();

} // namespace twinfold
