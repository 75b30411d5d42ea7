#include "PreviewFolder.h"

#include "platform/FileIO.h"

PreviewFolder::PreviewFolder(std::filesystem::path folder) : m_folder(std::move(folder)) {}

void PreviewFolder::copyIn(const std::filesystem::path &file, fileio::SourceLinks links)
{
    std::error_code ignored;
    std::filesystem::create_directory(m_folder, ignored);
    const auto name = file.filename();
    fileio::copyFileQuietly(file, m_folder / name, links);
    m_files.push_back(name.string());
}

void PreviewFolder::writeIn(const std::string &name, std::string_view bytes)
{
    std::error_code ignored;
    std::filesystem::create_directory(m_folder, ignored);
    fileio::writeFileAtomically(m_folder / name, bytes, fileio::Durability::scratch);
    m_files.push_back(name);
}

bool PreviewFolder::isBareFileName(const std::string &name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

void PreviewFolder::clear()
{
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
