#pragma once

// Makes the desktop open ".jfs" files with Velloria. An installation brings a system-wide
// desktop entry and MIME type; a program run from its build folder has none, so at start it
// writes a per-user desktop entry and MIME type that know a project by its name and by its
// first line, so that a renamed project is still recognised. Both use the same desktop file
// id, so the menu never shows Velloria twice. Files are rewritten only when they differ;
// every failure is silent, as a start must never stop for this.

#include <filesystem>
#include <string>

namespace desktopintegration {

// The desktop file id and icon name an installation and a per-user registration share.
inline constexpr const char *applicationId = "org.example.velloria.Velloria";
inline constexpr const char *projectMimeType = "application/x-velloria-project";

// Under dataHome ($XDG_DATA_HOME): applications/<id>.desktop and mime/packages/<id>.xml.
// True when a file was written or removed. A program path that an entry cannot hold safely
// (a control character other than a line break or tab, or not UTF-8) is not registered.
bool registerProjectType(const std::filesystem::path &program,
                         const std::filesystem::path &dataHome);

// Removes the per-user files that registerProjectType wrote (and those of older builds), so
// that an installation's system-wide entry and type serve; files a user made are left
// alone. True when a file was removed.
bool withdrawProjectType(const std::filesystem::path &dataHome);

// Registers a program run from its build folder, withdraws for an installed one.
bool updateForProgram(const std::filesystem::path &program, bool installed,
                      const std::filesystem::path &dataHome);

// How a desktop entry's Exec line quotes a program path as a command-line argument, before
// the entry's own string escapes.
std::string quotedForExec(const std::string &path);

} // namespace desktopintegration
