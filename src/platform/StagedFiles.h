#pragma once

// Files that must change together: each is written in full beside its place first, and
// only when all are ready are they put in place, one rename each. A file that already
// holds the bytes it would get is left as it is. A failure while staging
// changes nothing; a rename that fails puts back what the earlier ones replaced. Files not
// put in place are removed, also when the run is interrupted.

#include "FileIO.h"
#include "TemporaryFile.h"

#include <memory>
#include <vector>

class StagedFiles
{
public:
    StagedFiles() = default;
    ~StagedFiles();
    StagedFiles(const StagedFiles &) = delete;
    StagedFiles &operator=(const StagedFiles &) = delete;

    // Each raises VelloriaError naming the file; the target is checked as a write checks it.
    void write(const std::filesystem::path &path, std::string_view bytes,
               fileio::Durability durability, fileio::Links links = fileio::Links::replace);
    // False, staging nothing, when the source does not exist. Sources are read whole: they
    // are the small files of a web site.
    bool copy(const std::filesystem::path &from, const std::filesystem::path &to,
              fileio::SourceLinks sourceLinks = fileio::SourceLinks::follow);

    // Puts the files in place in the order they were staged.
    void commit();

private:
    struct Staged
    {
        std::filesystem::path target;
        std::unique_ptr<TemporaryFile> file;
        bool replaces = false;
        std::filesystem::path backup; // a second name of the file replaced, if one was made
    };

    Staged &stage(const fileio::WriteTarget &target);
    void keepBackup(Staged &staged);
    void rollBack(std::size_t placed);
    void dropBackups();

    std::vector<Staged> m_staged;
};
