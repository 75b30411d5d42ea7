#include "AppFolders.h"

#include "FileIO.h"
#include "HomeFolder.h"
#include "VelloriaError.h"

#include <cerrno>
#include <cstdlib>
#include <unistd.h>

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
    : m_resources(std::move(resources)), m_writable(std::move(writable))
{}

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

AppFolders AppFolders::forProgram(const fs::path &programFolder)
{
    std::error_code error;
    // The build puts the resources beside the program; an installation (<prefix>/bin) puts
    // them in <prefix>/share/velloria, found relative to the program so a copied prefix works.
    fs::path resources = programFolder / "resources";
    if (!fs::is_directory(resources, error)) {
        const fs::path shared = programFolder.parent_path() / "share" / "velloria";
        resources = fs::weakly_canonical(shared, error);
        if (error)
            resources = shared;
    }
    return {resources, canWriteIn(programFolder) ? programFolder : perUserFolder()};
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
