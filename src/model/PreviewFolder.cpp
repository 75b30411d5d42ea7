#include "PreviewFolder.h"

#include "platform/FileIO.h"
#include "platform/VelloriaError.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

PreviewFolder::PreviewFolder(std::filesystem::path folder) : m_folder(std::move(folder)) {}

std::string PreviewFolder::makeFolder() const
{
    if (::mkdir(m_folder.c_str(), 0777) != 0 && errno != EEXIST)
        return std::strerror(errno);
    struct stat info
    {};
    if (::lstat(m_folder.c_str(), &info) != 0)
        return std::strerror(errno);
    if (S_ISLNK(info.st_mode))
        return "it is a symbolic link";
    if (!S_ISDIR(info.st_mode))
        return "it is not a folder";
    if (info.st_uid != ::getuid())
        return "it belongs to another user";
    return {};
}

bool PreviewFolder::isOwnFolder() const
{
    struct stat info
    {};
    return ::lstat(m_folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::getuid();
}

void PreviewFolder::copyIn(const std::filesystem::path &file, fileio::SourceLinks links)
{
    const auto name = file.filename();
    if (makeFolder().empty())
        fileio::copyFileQuietly(file, m_folder / name, links);
    m_files.push_back(name.string());
}

void PreviewFolder::writeIn(const std::string &name, std::string_view bytes)
{
    // Unlike a copy, a slide written here is the only one there is: its failure stops the
    // run, with the reason the folder could not be had rather than a missing file in it.
    if (const std::string refused = makeFolder(); !refused.empty())
        throw VelloriaError("Cannot create folder \"" + m_folder.string() + "\": " + refused);
    fileio::writeFileAtomically(m_folder / name, bytes, fileio::Durability::scratch);
    m_files.push_back(name);
}

bool PreviewFolder::isBareFileName(const std::string &name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

void PreviewFolder::clear()
{
    // Files in a folder that is no longer ours (a link now stands there) were not written
    // by us, whatever their names.
    if (!isOwnFolder()) {
        m_files.clear();
        return;
    }
    std::error_code ignored;
    for (const std::string &name : m_files) {
        if (!isBareFileName(name))
            continue;
        const auto file = m_folder / name;
        const auto status = std::filesystem::symlink_status(file, ignored);
        if (std::filesystem::exists(status) && !std::filesystem::is_directory(status))
            std::filesystem::remove(file, ignored);
    }
    m_files.clear();
    std::filesystem::remove(m_folder, ignored); // only succeeds while the folder is empty
}

void PreviewFolder::removeIn(const std::string &name)
{
    std::error_code ignored;
    if (isBareFileName(name) && isOwnFolder())
        std::filesystem::remove(m_folder / name, ignored);
}

bool PreviewFolder::holdsFile(const std::string &name) const
{
    struct stat info
    {};
    return isBareFileName(name) && isOwnFolder() &&
           ::lstat((m_folder / name).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string PreviewFolder::sharpSlideName(const std::string &slide)
{
    const std::size_t dot = slide.rfind('.');
    if (dot == std::string::npos)
        return slide + "@2x";
    return slide.substr(0, dot) + "@2x" + slide.substr(dot);
}
