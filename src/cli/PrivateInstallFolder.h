#pragma once

// A temporary installation folder of the command-line tool's own, holding a copy of the
// runtime script, so that publishing never touches the editor's folder and can run beside
// it. Removed with everything in it when the object goes.

#include <filesystem>

class PrivateInstallFolder
{
public:
    explicit PrivateInstallFolder(const std::filesystem::path &programFolder);
    ~PrivateInstallFolder();
    PrivateInstallFolder(const PrivateInstallFolder &) = delete;
    PrivateInstallFolder &operator=(const PrivateInstallFolder &) = delete;

    const std::filesystem::path &path() const { return m_path; }

private:
    std::filesystem::path m_path;
};
