#include "PreviewFolder.h"

PreviewFolder::PreviewFolder(std::filesystem::path folder) : m_folder(std::move(folder)) {}

void PreviewFolder::copyIn(const std::filesystem::path &file)
{
    std::error_code ignored;
    std::filesystem::create_directory(m_folder, ignored);
    const auto name = file.filename();
    const auto target = m_folder / name;
    // Copying a file onto itself would truncate it on some systems; it is already there.
    if (!std::filesystem::equivalent(file, target, ignored))
        std::filesystem::copy_file(file, target, std::filesystem::copy_options::overwrite_existing,
                                   ignored);
    m_files.push_back(name.string());
}

void PreviewFolder::clear()
{
    std::error_code ignored;
    for (const std::string &name : m_files) {
        // Recorded names are bare file names; never let one reach outside the folder.
        if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos)
            continue;
        const auto file = m_folder / name;
        const auto status = std::filesystem::symlink_status(file, ignored);
        if (std::filesystem::exists(status) && !std::filesystem::is_directory(status))
            std::filesystem::remove(file, ignored);
    }
    m_files.clear();
    std::filesystem::remove(m_folder, ignored); // only succeeds while the folder is empty
}
