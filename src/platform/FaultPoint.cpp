#include "FaultPoint.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

void faultPoint(const char *point)
{
    const char *fault = std::getenv("VELLORIA_FAULT");
    if (!fault)
        return;
    const char *colon = std::strrchr(fault, ':');
    if (!colon || std::string(fault, colon) != point)
        return;
    // To the process, not this thread: a signal this thread blocks goes to the one that waits.
    ::kill(::getpid(), std::atoi(colon + 1));
    // A blocked signal is handled by another thread; this one must not run on meanwhile.
    for (;;)
        ::pause();
}
