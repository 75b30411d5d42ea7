#include "OtherShow.h"

#include "model/TzybAppletAgent.h"
#include "platform/FileIO.h"

#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace {

const std::string reportSuffix = "_PublishReport.txt";

// The published name of the project whose report was written last, if any report is there;
// `own` on a tie, as timestamps may be coarse.
std::optional<std::string> lastPublished(const fs::path &folder, const std::string &own)
{
    std::optional<std::string> newest;
    fs::file_time_type newestTime;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() <= reportSuffix.size() ||
            name.compare(name.size() - reportSuffix.size(), reportSuffix.size(), reportSuffix) !=
                0 ||
            !it->is_regular_file(ec))
            continue;
        const fs::file_time_type time = it->last_write_time(ec);
        std::string project = name.substr(0, name.size() - reportSuffix.size());
        if (!ec && (!newest || time > newestTime || (time == newestTime && project == own))) {
            newest = std::move(project);
            newestTime = time;
        }
    }
    return newest;
}

// The show name a configuration script sets up: its line "function Init" + name + "(){".
std::optional<std::string> configuredShow(const fs::path &script)
{
    std::error_code ec;
    if (!fs::is_regular_file(script, ec))
        return std::nullopt;
    std::istringstream lines(fileio::readFile(script));
    const std::string start = "function Init", end = "(){";
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.rfind(start, 0) == 0 && line.size() > start.size() + end.size() &&
            line.compare(line.size() - end.size(), end.size(), end) == 0)
            return line.substr(start.size(), line.size() - start.size() - end.size());
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> otherShowIn(const std::string &folder,
                                       const std::string &projectFileName, const TAppletData &data)
{
    const fs::path site = folder.empty() ? fs::path(".") : fs::path(folder);
    const std::string own = TzybAppletAgent::publishedName(projectFileName);
    const std::optional<std::string> owner = lastPublished(site, own);
    const std::optional<std::string> show = configuredShow(site / "velloriacfg.js");
    if (owner ? *owner == own : !show || *show == data.pSliderName)
        return std::nullopt;
    const std::string shown = show ? "the show \"" + *show + "\"" : "a show";
    const std::string where = "The folder \"" + site.lexically_normal().string() + "\" holds ";
    const std::string what = " Publishing \"" + projectFileName +
                             "\" there would replace its velloriacfg.js, velloria.css and "
                             "slides, and ";
    if (owner)
        return where + shown + " of the project \"" + *owner + ".jfs\"." + what + "\"" + *owner +
               ".html\" would show this project's show instead.";
    return where + shown + " of another project." + what +
           "the pages that include it would show this project's show instead.";
}
