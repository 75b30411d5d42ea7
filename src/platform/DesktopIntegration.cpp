#include "DesktopIntegration.h"

#include "FileIO.h"

namespace desktopintegration {
namespace {

const char *const mimeType = "application/x-velloria-project";

std::string desktopEntry(const std::filesystem::path &program)
{
    return std::string("[Desktop Entry]\n"
                       "Type=Application\n"
                       "Name=Velloria\n"
                       "Comment=Design image slide shows that fade from picture to picture\n"
                       "Exec=") +
           quotedForExec(program.string()) + " %f\n" +
           "Icon=velloria\n"
           "Terminal=false\n"
           "Categories=Graphics;WebDevelopment;\n"
           "MimeType=" +
           mimeType + ";\n";
}

std::string mimePackage()
{
    return std::string(
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
               "  <mime-type type=\"") +
           mimeType +
           "\">\n"
           "    <comment>Velloria project</comment>\n"
           "    <glob pattern=\"*.jfs\"/>\n"
           "    <magic priority=\"50\">\n"
           "      <match type=\"string\" offset=\"0\" value=\"&lt;Warning_Info&gt;\"/>\n"
           "    </magic>\n"
           "  </mime-type>\n"
           "</mime-info>\n";
}

bool writeWhenDifferent(const std::filesystem::path &file, const std::string &text)
{
    if (fileio::holdsExactly(file, text))
        return false;
    try {
        std::error_code error;
        std::filesystem::create_directories(file.parent_path(), error);
        fileio::writeFileAtomically(file, text);
        return true;
    } catch (const std::exception &) {
        return false;
    }
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

bool registerProjectType(const std::filesystem::path &program,
                         const std::filesystem::path &dataHome)
{
    const bool entry =
        writeWhenDifferent(dataHome / "applications" / "velloria.desktop", desktopEntry(program));
    const bool mime =
        writeWhenDifferent(dataHome / "mime" / "packages" / "velloria.xml", mimePackage());
    return entry || mime;
}

} // namespace desktopintegration
