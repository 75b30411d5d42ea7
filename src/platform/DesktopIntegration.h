#pragma once

// Makes the desktop open ".jfs" files with the running program: a per-user desktop entry
// and a MIME type that knows a project by its name and by its first line, so that a renamed
// project is still recognised. Files are rewritten only when they differ; every failure is
// silent, as a start must never stop for this.

#include <filesystem>

namespace desktopintegration {

// Under dataHome ($XDG_DATA_HOME): applications/velloria.desktop and
// mime/packages/velloria.xml. True when a file was written.
bool registerProjectType(const std::filesystem::path &program,
                         const std::filesystem::path &dataHome);

// How a desktop entry's Exec line quotes a program path.
std::string quotedForExec(const std::string &path);

} // namespace desktopintegration
