#include "DesktopIntegration.h"

#include "FileIO.h"
// The desktop entry and MIME package an installation ships, as string constants: made by the
// build from packaging/ (see packaging/CMakeLists.txt).
#include "ShippedDesktopFiles.h"

#include <algorithm>
#include <iterator>
#include <sstream>

namespace fs = std::filesystem;

namespace desktopintegration {
namespace {

// What the code below adapts, and the names the removals look for, must be in the shipped
// files, or the build stops here.
constexpr bool holds(std::string_view text, std::string_view part)
{
    return text.find(part) != std::string_view::npos;
}
static_assert(holds(shipped::desktopEntry, "\nExec="));
static_assert(holds(shipped::desktopEntry, projectMimeType));
static_assert(holds(shipped::desktopEntry, applicationId));
static_assert(shipped::mimePackage.starts_with("<?xml "));
static_assert(holds(shipped::mimePackage, projectMimeType));

// Marks the files this program wrote, so that only those are ever removed.
const std::string entryMark = "X-Velloria-Registered-By=build-folder\n";
const std::string mimeMark = "<!-- Registered by Velloria run from its build folder. -->\n";

fs::path entryFile(const fs::path &dataHome)
{
    return dataHome / "applications" / (std::string(applicationId) + ".desktop");
}

fs::path mimeFile(const fs::path &dataHome)
{
    return dataHome / "mime" / "packages" / (std::string(applicationId) + ".xml");
}

// Builds before the shared id wrote these names.
fs::path olderEntryFile(const fs::path &dataHome)
{
    return dataHome / "applications" / "velloria.desktop";
}

fs::path olderMimeFile(const fs::path &dataHome)
{
    return dataHome / "mime" / "packages" / "velloria.xml";
}

// A desktop entry is UTF-8, and its values can spell no control character but the line
// breaks and the tab: a program path with any other, or not UTF-8, has no safe Exec line.
bool writableInEntry(const std::string &path)
{
    for (std::size_t i = 0; i < path.size(); ++i) {
        const auto byte = static_cast<unsigned char>(path[i]);
        if ((byte < 0x20 && byte != '\n' && byte != '\r' && byte != '\t') || byte == 0x7F)
            return false;
        if (byte < 0x80)
            continue;
        const std::size_t more = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : byte >= 0xC2 ? 1 : 0;
        if (more == 0 || byte > 0xF4 || i + more >= path.size())
            return false;
        for (std::size_t k = 1; k <= more; ++k)
            if ((static_cast<unsigned char>(path[i + k]) & 0xC0) != 0x80)
                return false;
        i += more;
    }
    return true;
}

// A string value's escapes take a backslash, a line break or a tab.
std::string stringValue(const std::string &text)
{
    std::string value;
    for (const char c : text) {
        if (c == '\\')
            value += "\\\\";
        else if (c == '\n')
            value += "\\n";
        else if (c == '\r')
            value += "\\r";
        else if (c == '\t')
            value += "\\t";
        else
            value += c;
    }
    return value;
}

// The Exec key is read twice: first as a string value, then as a command line, whose quoting
// takes the rest. A "%" would be a field code, so it is doubled.
std::string execValue(const std::string &program)
{
    std::string value;
    for (const char c : stringValue(quotedForExec(program)))
        value += c == '%' ? std::string("%%") : std::string(1, c);
    return value;
}

// The shipped entry finds the program on the PATH; this one names the program where it is,
// in Exec (keeping the shipped arguments) and in TryExec, so that the entry disappears from
// the menu with the build folder. Every other line is the shipped one.
std::string desktopEntry(const fs::path &program)
{
    std::istringstream lines{std::string(shipped::desktopEntry)};
    std::string entry;
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("Exec=")) {
            const std::size_t arguments = line.find(' ');
            line = "Exec=" + execValue(program.string()) +
                   (arguments == std::string::npos ? "" : line.substr(arguments));
        } else if (line.starts_with("TryExec=")) {
            line = "TryExec=" + stringValue(program.string());
        }
        entry += line + '\n';
    }
    return entry + entryMark;
}

// The shipped type, marked as ours below its XML declaration.
std::string mimePackage()
{
    std::string package(shipped::mimePackage);
    return package.insert(package.find('\n') + 1, mimeMark);
}

bool writeWhenDifferent(const fs::path &file, const std::string &text)
{
    if (fileio::holdsExactly(file, text))
        return false;
    try {
        std::error_code error;
        fs::create_directories(file.parent_path(), error);
        fileio::writeFileAtomically(file, text);
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

// Only a file that carries the mark (or, for older builds, the project type) is ours.
bool removeWhenOurs(const fs::path &file, const std::string &mark)
{
    std::string text;
    try {
        text = fileio::readFile(file);
    } catch (const std::exception &) {
        return false;
    }
    if (text.find(mark) == std::string::npos)
        return false;
    std::error_code error;
    return fs::remove(file, error);
}

} // namespace

// Inside double quotes, `"`, `` ` ``, `$` and `\` need a backslash; blanks are then safe.
// This is the command line's quoting; the entry file escapes the result once more.
std::string quotedForExec(const std::string &path)
{
    std::string quoted = "\"";
    for (const char c : path) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

bool registerProjectType(const fs::path &program, const fs::path &dataHome)
{
    if (!writableInEntry(program.string()))
        return false;
    // Each removal runs, whatever the one before did.
    const bool olderEntry = removeWhenOurs(olderEntryFile(dataHome), projectMimeType);
    const bool olderMime = removeWhenOurs(olderMimeFile(dataHome), projectMimeType);
    const bool older = olderEntry || olderMime;
    const bool entry = writeWhenDifferent(entryFile(dataHome), desktopEntry(program));
    const bool mime = writeWhenDifferent(mimeFile(dataHome), mimePackage());
    return older || entry || mime;
}

bool withdrawProjectType(const fs::path &dataHome)
{
    // Each removal runs, whatever the ones before did.
    const bool removed[] = {removeWhenOurs(entryFile(dataHome), entryMark),
                            removeWhenOurs(mimeFile(dataHome), mimeMark),
                            removeWhenOurs(olderEntryFile(dataHome), projectMimeType),
                            removeWhenOurs(olderMimeFile(dataHome), projectMimeType)};
    return std::find(std::begin(removed), std::end(removed), true) != std::end(removed);
}

bool updateForProgram(const fs::path &program, bool installed, const fs::path &dataHome)
{
    return installed ? withdrawProjectType(dataHome) : registerProjectType(program, dataHome);
}

} // namespace desktopintegration
