#include "DesktopIntegration.h"

#include "FileIO.h"

#include <algorithm>
#include <iterator>

namespace fs = std::filesystem;

namespace desktopintegration {
namespace {

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

// The Exec key is read twice: first as a string value, whose escapes take a backslash, a
// line break or a tab; then as a command line, whose quoting takes the rest. A "%" would be
// a field code, so it is doubled.
std::string execValue(const std::string &program)
{
    std::string value;
    for (const char c : quotedForExec(program)) {
        if (c == '\\')
            value += "\\\\";
        else if (c == '\n')
            value += "\\n";
        else if (c == '\r')
            value += "\\r";
        else if (c == '\t')
            value += "\\t";
        else if (c == '%')
            value += "%%";
        else
            value += c;
    }
    return value;
}

std::string desktopEntry(const fs::path &program)
{
    return std::string("[Desktop Entry]\n"
                       "Type=Application\n"
                       "Name=Velloria\n"
                       "Comment=Design image slide shows that fade from picture to picture\n"
                       "Exec=") +
           execValue(program.string()) + " %f\n" + "Icon=" + applicationId +
           "\n"
           "Terminal=false\n"
           "Categories=Development;WebDevelopment;\n"
           "MimeType=" +
           projectMimeType + ";\n" + entryMark;
}

std::string mimePackage()
{
    return std::string(
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + mimeMark +
               "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
               "  <mime-type type=\"") +
           projectMimeType +
           "\">\n"
           "    <comment>Velloria project</comment>\n"
           "    <sub-class-of type=\"text/plain\"/>\n"
           "    <glob pattern=\"*.jfs\"/>\n"
           "    <magic priority=\"50\">\n"
           "      <match type=\"string\" offset=\"0\" value=\"&lt;Warning_Info&gt;\"/>\n"
           "    </magic>\n"
           "  </mime-type>\n"
           "</mime-info>\n";
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
