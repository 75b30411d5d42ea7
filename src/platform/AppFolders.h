#pragma once

// Where the program finds what it ships and where it keeps what it writes. Running from its
// build folder, the program's own folder serves for both: resources lie in "resources"
// beside the program, and the preview folder, the generated scripts, the recent-files list
// and saved templates beside it. Installed under a prefix, the resources lie in
// <prefix>/share/velloria, and what the program writes goes to a per-user folder, never
// under the prefix (even one the user may write in, such as ~/.local or a root's /usr/local,
// since every user of the installation would share it) and never to the current directory.
//
// The scratch folder takes what one run writes and throws away: the generated scripts and
// the preview folder. It is the writable folder unless a run has a folder of its own
// (ScratchFolder), as every editor and every publish of velloria-cli has: runs that shared
// one would mix their slides.

#include <filesystem>

class AppFolders
{
public:
    AppFolders(std::filesystem::path resources, std::filesystem::path writable);
    // Both in one folder, as tests and a portable copy have them.
    explicit AppFolders(const std::filesystem::path &folder) : AppFolders(folder, folder) {}

    // The same folders with a scratch folder of the run's own.
    AppFolders withScratch(std::filesystem::path scratch) const;

    // The folders of the program that lies in programFolder.
    static AppFolders forProgram(const std::filesystem::path &programFolder);
    // An installed program has no "resources" beside it: its prefix holds them.
    static bool isInstalled(const std::filesystem::path &programFolder);
    // $XDG_DATA_HOME/velloria, or ~/.local/share/velloria.
    static std::filesystem::path perUserFolder();
    // $XDG_DATA_HOME, or ~/.local/share.
    static std::filesystem::path dataHome();

    const std::filesystem::path &resources() const { return m_resources; }
    const std::filesystem::path &writable() const { return m_writable; }
    // The "installation folder" of the generated scripts; the writable folder by default.
    const std::filesystem::path &scratch() const { return m_scratch; }

    std::filesystem::path runtimeScript() const { return m_resources / "velloria.js"; }
    std::filesystem::path help() const { return m_resources / "help"; }
    std::filesystem::path samples() const { return m_resources / "samples"; }
    std::filesystem::path shippedTemplates() const { return m_resources / "templates"; }
    std::filesystem::path templates() const { return m_writable / "templates"; }
    std::filesystem::path recentFiles() const { return m_writable / "recentfile.dat"; }
    std::filesystem::path preview() const { return m_scratch / "preview"; }

    // Creates the writable folder when missing and, the first time, gives it a copy of the
    // shipped templates. Raises VelloriaError naming the folder when it cannot be made.
    void prepareWritable() const;

private:
    std::filesystem::path m_resources;
    std::filesystem::path m_writable;
    std::filesystem::path m_scratch;
};
