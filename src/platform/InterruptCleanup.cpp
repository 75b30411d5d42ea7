#include "InterruptCleanup.h"

#include <csignal>
#include <mutex>
#include <pthread.h>
#include <set>
#include <thread>
#include <unistd.h>

namespace interruptcleanup {
namespace {

std::mutex &trackedMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::set<std::filesystem::path> &tracked()
{
    static std::set<std::filesystem::path> paths;
    return paths;
}

sigset_t handledSignals()
{
    sigset_t signals;
    sigemptyset(&signals);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&signals, signal);
    return signals;
}

// Runs as an ordinary thread, not inside a signal handler, so it may take locks and
// allocate; the other threads go on until the process ends.
void waitForSignal(sigset_t signals)
{
    int signal = 0;
    while (sigwait(&signals, &signal) != 0) {
    }
    removeTrackedNow();
    // End as the signal would have ended us, so the caller sees the usual exit status.
    std::signal(signal, SIG_DFL);
    pthread_sigmask(SIG_UNBLOCK, &signals, nullptr);
    std::raise(signal);
    _exit(128 + signal);
}

} // namespace

void track(const std::filesystem::path &path)
{
    const std::lock_guard lock(trackedMutex());
    tracked().insert(path);
}

void untrack(const std::filesystem::path &path)
{
    const std::lock_guard lock(trackedMutex());
    tracked().erase(path);
}

void removeTrackedNow()
{
    const std::lock_guard lock(trackedMutex());
    std::error_code ignored;
    for (const std::filesystem::path &path : tracked())
        std::filesystem::remove_all(path, ignored);
    tracked().clear();
}

void installSignalHandling()
{
    const sigset_t signals = handledSignals();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::thread(waitForSignal, signals).detach();
}

} // namespace interruptcleanup
