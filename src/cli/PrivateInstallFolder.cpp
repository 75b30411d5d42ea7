#include "PrivateInstallFolder.h"

#include "platform/FileIO.h"
#include "platform/InterruptCleanup.h"
#include "platform/TemporaryFile.h"
#include "platform/VelloriaError.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::string prefix = "velloria-cli-";

// "velloria-cli-<pid>-XXXXXX": folders of runs that were killed before they could remove
// their own are removed by the next run.
void removeFoldersOfEndedRuns(const std::filesystem::path &temp)
{
    std::error_code error;
    for (std::filesystem::directory_iterator it(temp, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.rfind(prefix, 0) != 0)
            continue;
        const std::string pid =
            name.substr(prefix.size(), name.find('-', prefix.size()) - prefix.size());
        if (pid.empty() || pid.size() > 9 || pid.find_first_not_of("0123456789") != pid.npos)
            continue;
        struct stat info
        {};
        const bool mine = ::lstat(it->path().c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
                          info.st_uid == ::getuid();
        if (mine && TemporaryFile::madeByEndedRun(std::stoi(pid))) {
            std::error_code ignored;
            std::filesystem::remove_all(it->path(), ignored);
        }
    }
}

} // namespace

PrivateInstallFolder::PrivateInstallFolder()
{
    const std::filesystem::path temp = std::filesystem::temp_directory_path();
    removeFoldersOfEndedRuns(temp);
    std::string pattern = (temp / (prefix + std::to_string(::getpid()) + "-XXXXXX")).string();
    if (!::mkdtemp(pattern.data()))
        throw VelloriaError(fileio::ioErrorText("create", pattern, errno));
    m_path = pattern;
    interruptcleanup::track(m_path);
}

PrivateInstallFolder::~PrivateInstallFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
    interruptcleanup::untrack(m_path);
}
