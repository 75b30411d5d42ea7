#pragma once

// The writable folder of one run of the command-line tool: its generated scripts and its
// preview folder, so that publishing never touches the editor's folder and can run beside
// it. Removed with everything in it when the object goes, or when the run is interrupted.

#include <filesystem>

class PrivateInstallFolder
{
public:
    PrivateInstallFolder();
    ~PrivateInstallFolder();
    PrivateInstallFolder(const PrivateInstallFolder &) = delete;
    PrivateInstallFolder &operator=(const PrivateInstallFolder &) = delete;

    const std::filesystem::path &path() const { return m_path; }

private:
    std::filesystem::path m_path;
};
