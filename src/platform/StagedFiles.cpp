#include "StagedFiles.h"

#include "FaultPoint.h"
#include "InterruptCleanup.h"
#include "platform/VelloriaError.h"

#include <cerrno>
#include <unistd.h>

StagedFiles::~StagedFiles()
{
    dropBackups();
}

StagedFiles::Staged &StagedFiles::stage(const fileio::WriteTarget &target)
{
    m_staged.push_back(
        {target.path, std::make_unique<TemporaryFile>(target.path), target.exists, {}});
    if (target.exists)
        m_staged.back().file->setMode(target.mode);
    return m_staged.back();
}

void StagedFiles::write(const std::filesystem::path &path, std::string_view bytes,
                        fileio::Durability durability, fileio::Links links)
{
    const fileio::WriteTarget target = fileio::checkedWriteTarget(path, links);
    // A file that already holds these bytes stays as it is: nothing to do, and its time
    // still tells a tool that uploads the site that it has not changed.
    if (target.exists && fileio::holdsExactly(target.path, bytes))
        return;
    Staged &staged = stage(target);
    staged.file->write(bytes);
    staged.file->close(durability == fileio::Durability::flushed);
}

bool StagedFiles::copy(const std::filesystem::path &from, const std::filesystem::path &to,
                       fileio::SourceLinks sourceLinks)
{
    const std::optional<std::string> bytes = fileio::readIfPresent(from, "copy", sourceLinks);
    if (bytes)
        write(to, *bytes, fileio::Durability::scratch);
    return bytes.has_value();
}

// A hard link keeps the replaced file under a second name, so that a failed commit can put
// it back. Where no link can be made (a file system without them), that file cannot be put
// back.
void StagedFiles::keepBackup(Staged &staged)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::filesystem::path backup = TemporaryFile::nameFor(staged.target);
        interruptcleanup::track(backup);
        if (::link(staged.target.c_str(), backup.c_str()) == 0) {
            staged.backup = std::move(backup);
            return;
        }
        interruptcleanup::untrack(backup);
        if (errno != EEXIST)
            return;
    }
}

void StagedFiles::commit()
{
    for (std::size_t i = 0; i < m_staged.size(); ++i) {
        Staged &staged = m_staged[i];
        keepBackup(staged);
        try {
            staged.file->putInPlace(staged.target);
        } catch (...) {
            rollBack(i);
            throw;
        }
        if (i == 0)
            faultPoint("commit-started");
    }
    dropBackups();
}

// Files that replaced nothing go again; replaced ones come back from their backups. A
// replaced file without a backup stays new: the old one is gone either way.
void StagedFiles::rollBack(std::size_t failed)
{
    for (std::size_t i = failed; i-- > 0;) {
        Staged &staged = m_staged[i];
        if (!staged.replaces)
            ::unlink(staged.target.c_str());
        else if (!staged.backup.empty() &&
                 ::rename(staged.backup.c_str(), staged.target.c_str()) == 0) {
            interruptcleanup::untrack(staged.backup);
            staged.backup.clear();
        }
    }
    dropBackups();
}

void StagedFiles::dropBackups()
{
    for (Staged &staged : m_staged) {
        if (staged.backup.empty())
            continue;
        ::unlink(staged.backup.c_str());
        interruptcleanup::untrack(staged.backup);
    }
    m_staged.clear();
}
