#include "PrivateInstallFolder.h"

#include "model/VelloriaError.h"
#include "platform/FileIO.h"

#include <cerrno>
#include <cstdlib>

PrivateInstallFolder::PrivateInstallFolder(const std::filesystem::path &programFolder)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "velloria-cli-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw VelloriaError(fileio::ioErrorText("create", pattern, errno));
    m_path = pattern;
    fileio::copyFileQuietly(programFolder / "resources" / "velloria.js", m_path / "velloria.js");
}

PrivateInstallFolder::~PrivateInstallFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}
