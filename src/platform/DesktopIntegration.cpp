#include "DesktopIntegration.h"

#include "FileIO.h"

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

std::string desktopEntry(const fs::path &program)
{
    return std::string("[Desktop Entry]\n"
                       "Type=Application\n"
                       "Name=Velloria\n"
                       "Comment=Design image slide shows that fade from picture to picture\n"
                       "Exec=") +
           quotedForExec(program.string()) + " %f\n" + "Icon=" + applicationId +
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
    const bool older = removeWhenOurs(olderEntryFile(dataHome), projectMimeType) |
                       removeWhenOurs(olderMimeFile(dataHome), projectMimeType);
    const bool entry = writeWhenDifferent(entryFile(dataHome), desktopEntry(program));
    const bool mime = writeWhenDifferent(mimeFile(dataHome), mimePackage());
    return older || entry || mime;
}

bool withdrawProjectType(const fs::path &dataHome)
{
    return removeWhenOurs(entryFile(dataHome), entryMark) |
           removeWhenOurs(mimeFile(dataHome), mimeMark) |
           removeWhenOurs(olderEntryFile(dataHome), projectMimeType) |
           removeWhenOurs(olderMimeFile(dataHome), projectMimeType);
}

bool updateForProgram(const fs::path &program, bool installed, const fs::path &dataHome)
{
    return installed ? withdrawProjectType(dataHome) : registerProjectType(program, dataHome);
}

} // namespace desktopintegration
