#pragma once

// A file written beside its final place and renamed over it once complete, so that nobody
// ever sees it half-written. Its hidden name carries this process's id: the next run can
// then tell a leftover of a killed run from a file that another run is writing right now.
// The file is removed unless it was put in place, also when the run is interrupted.

#include <filesystem>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

class TemporaryFile
{
public:
    // Creates the file in the target's folder. Like a plain open it gets mode 0666 less
    // the umask, which is never touched: other threads may be creating files meanwhile.
    explicit TemporaryFile(const std::filesystem::path &target);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;

    // Each raises VelloriaError naming the target.
    void write(std::string_view bytes);
    // Copies the rest of an open file; a read error names `sourcePath`.
    void copyFrom(int source, const std::filesystem::path &sourcePath);
    void setMode(mode_t mode);
    // Scratch files skip the flush to disk: a crash may lose them, but never shows them
    // half-written.
    void close(bool flush);
    // Renames the file to `to`, replacing what is there.
    void putInPlace(const std::filesystem::path &to);

    const std::filesystem::path &path() const { return m_path; }

    // Removes, in the folder, the temporary files of runs that have ended without removing
    // them (killed ones), and those of older versions named "." + name + ".XXXXXX" for the
    // given names once they are ten minutes old. Never fails.
    static void removeLeftovers(const std::filesystem::path &folder,
                                const std::vector<std::string> &names = {});
    // True when the process that made a scratch file or folder is gone, so nobody else is
    // writing it: a leftover to remove.
    static bool madeByEndedRun(pid_t maker);
    // A fresh name in the folder of `target` for a temporary of it.
    static std::filesystem::path nameFor(const std::filesystem::path &target);

private:
    [[noreturn]] void fail(std::string_view verb, int error) const;

    std::filesystem::path m_target;
    std::filesystem::path m_path;
    int m_fd = -1;
    bool m_placed = false;
};
