#pragma once

// What a run must not leave behind when it is interrupted: temporary files beside the
// files it writes, and scratch folders of its own. Ctrl+C, SIGTERM and SIGHUP are taken by
// a thread of their own, which removes every tracked path and then ends the process as the
// signal asks. A run killed with SIGKILL cleans nothing; the next run removes its leftovers
// (TemporaryFile::removeLeftovers).

#include <filesystem>

namespace interruptcleanup {

// The path (a file, or a folder with everything in it) is removed if the run is
// interrupted before untrack() is called for it.
void track(const std::filesystem::path &path);
void untrack(const std::filesystem::path &path);

// Removes everything tracked right now.
void removeTrackedNow();

// Call at the start of main(), before any other thread starts: the signals are blocked in
// every thread and handled by the cleaning thread.
void installSignalHandling();

} // namespace interruptcleanup
