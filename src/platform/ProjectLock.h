#pragma once

// An advisory lock on a project file, held by a command for as long as it reads, changes
// and writes the project, so that two commands on one project never lose each other's
// changes. A save replaces the file by a new one, so the lock is taken on the file the path
// names once the lock is held; a lock won on a file that was replaced meanwhile is tried
// again on the new one.

#include <chrono>
#include <filesystem>

class ProjectLock
{
public:
    static constexpr std::chrono::milliseconds defaultPatience{3000};

    // Waits up to `patience` while another command holds the project, then raises
    // VelloriaError saying the project is busy. A project that does not exist yet needs no
    // lock.
    explicit ProjectLock(const std::filesystem::path &project,
                         std::chrono::milliseconds patience = defaultPatience);
    ~ProjectLock();
    ProjectLock(const ProjectLock &) = delete;
    ProjectLock &operator=(const ProjectLock &) = delete;

private:
    bool tryLock(const std::filesystem::path &project);

    int m_fd = -1;
};
