#pragma once

// The folder where one running program keeps its generated scripts and its preview folder.
// Each run has a folder of its own: two editors, or an editor and a publish, that shared
// one would copy each other's slides into their previews and onto each other's web sites.
//
// A folder holds a file "lock", locked with flock for as long as its program runs. The
// system drops the lock whatever way the program ends, SIGKILL and crashes included, so a
// folder whose lock can be taken belongs to a run that has ended: each new folder is made
// after removing those. A folder goes with everything in it when its object goes, or when
// the run is interrupted (InterruptCleanup).

#include <filesystem>
#include <string>

class ScratchFolder
{
public:
    // A new folder "<prefix>XXXXXX" in `parent`, which is created (one level) when missing
    // and must be a folder of this user, not a link. Raises VelloriaError naming the folder
    // and the system's reason ("Read-only file system") when it cannot be made.
    ScratchFolder(const std::filesystem::path &parent, const std::string &prefix);
    ~ScratchFolder();
    ScratchFolder(ScratchFolder &&other) noexcept;
    ScratchFolder &operator=(ScratchFolder &&) = delete;
    ScratchFolder(const ScratchFolder &) = delete;
    ScratchFolder &operator=(const ScratchFolder &) = delete;

    // In the system's temporary folder, as velloria-cli's runs have it.
    static ScratchFolder inTemporaryFolder();
    // The editor's, in "sessions" of its writable folder; where that folder cannot be
    // written (a read-only or full disk), in the temporary folder, so that saving still
    // works. Raises VelloriaError with the reasons of both when neither can be made.
    static ScratchFolder forEditor(const std::filesystem::path &writable);

    // Removes the folders "<prefix>..." in `parent` whose runs have ended; never follows a
    // link and never touches a folder of another user. Never fails.
    static void removeEnded(const std::filesystem::path &parent, const std::string &prefix);

    const std::filesystem::path &path() const { return m_path; }

private:
    void create(const std::filesystem::path &parent, const std::string &prefix);
    // 0 once the new folder's lock is held, or the reason it is not.
    int lockNew(const std::filesystem::path &folder);
    void writeProcessId();
    void release() noexcept;

    std::filesystem::path m_path;
    int m_lock = -1;
};
