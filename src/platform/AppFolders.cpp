#include "AppFolders.h"

#include "FileIO.h"
#include "HomeFolder.h"
#include "VelloriaError.h"

#include <cerrno>
#include <cstdlib>
#include <unistd.h>

// Where the installation puts the resources, relative to the programs; the build sets it
// from the installation folders it was configured with.
#ifndef VELLORIA_RESOURCES_FROM_PROGRAM
#define VELLORIA_RESOURCES_FROM_PROGRAM "../share/velloria"
#endif

namespace fs = std::filesystem;

namespace {

// access() would say yes to root on any folder but one on a read-only file system, and
// only a real file tells about both.
bool canWriteIn(const fs::path &folder)
{
    if (::access(folder.c_str(), W_OK) != 0)
        return false;
    const fs::path probe = folder / (".velloria-probe-" + std::to_string(::getpid()));
    std::error_code error;
    const bool made = fs::create_directory(probe, error);
    fs::remove(probe, error);
    return made;
}

} // namespace

AppFolders::AppFolders(fs::path resources, fs::path writable)
    : m_resources(std::move(resources)), m_writable(std::move(writable)), m_scratch(m_writable)
{}

AppFolders AppFolders::withScratch(fs::path scratch) const
{
    AppFolders folders = *this;
    folders.m_scratch = std::move(scratch);
    return folders;
}

fs::path AppFolders::dataHome()
{
    // XDG asks to ignore a relative XDG_DATA_HOME.
    const char *xdg = std::getenv("XDG_DATA_HOME");
    return xdg && fs::path(xdg).is_absolute() ? fs::path(xdg) : homeFolder() / ".local" / "share";
}

fs::path AppFolders::perUserFolder()
{
    return dataHome() / "velloria";
}

bool AppFolders::isInstalled(const fs::path &programFolder)
{
    std::error_code error;
    return !fs::is_directory(programFolder / "resources", error);
}

AppFolders AppFolders::forProgram(const fs::path &programFolder)
{
    if (!isInstalled(programFolder))
        return {programFolder / "resources",
                canWriteIn(programFolder) ? programFolder : perUserFolder()};
    // Found relative to the program, so that a copied prefix works.
    const fs::path shared = programFolder / VELLORIA_RESOURCES_FROM_PROGRAM;
    std::error_code error;
    fs::path resources = fs::weakly_canonical(shared, error);
    return {error ? shared.lexically_normal() : resources, perUserFolder()};
}

void AppFolders::prepareWritable() const
{
    std::error_code error;
    fs::create_directories(m_writable, error);
    if (error)
        throw VelloriaError("Cannot create folder \"" + m_writable.string() +
                            "\": " + error.message());
    if (fs::exists(templates(), error) || !fs::is_directory(shippedTemplates(), error))
        return;
    fs::create_directory(templates(), error);
    for (const auto &entry : fs::directory_iterator(shippedTemplates(), error))
        fileio::copyFileQuietly(entry.path(), templates() / entry.path().filename());
}
