#include "SlideNames.h"

#include "JpegReader.h"
#include "model/PreviewFolder.h"
#include "model/TextUtil.h"
#include "platform/VelloriaError.h"

#include <algorithm>

namespace {

std::string lowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

void SlideNames::keep(const std::string &name)
{
    if (name.empty())
        return;
    m_kept.insert(lowerCase(name));
    m_kept.insert(lowerCase(PreviewFolder::sharpSlideName(name)));
}

bool SlideNames::isKept(const std::string &name) const
{
    return m_kept.count(lowerCase(name)) != 0;
}

std::string SlideNames::forPosition(int position) const
{
    const std::string stem = "slider" + std::to_string(position);
    std::string name = stem + ".jpg";
    for (int n = 1; isKept(name) || isKept(PreviewFolder::sharpSlideName(name)); ++n)
        name = stem + "_" + std::to_string(n) + ".jpg";
    return name;
}

bool SlideNames::isUsable(const std::string &name, const TStringArray &ownFiles)
{
    if (!PreviewFolder::isBareFileName(name))
        return false;
    for (const char *fixed :
         {"velloria.js", "velloriacfg.js", "velloria.css", "~preview.html", "PublishReport.txt"})
        if (equalIgnoringCase(name, fixed))
            return false;
    return std::none_of(ownFiles.begin(), ownFiles.end(),
                        [&](const std::string &own) { return equalIgnoringCase(name, own); });
}

std::string SlideNames::keptSlideProblem(const std::string &name, const std::filesystem::path &file)
{
    const std::string extension = ".jpg";
    const bool plainJpegName =
        name.size() > extension.size() && name.front() != '.' &&
        name.find_first_of("/\\") == std::string::npos &&
        equalIgnoringCase(name.substr(name.size() - extension.size()), extension);
    if (!plainJpegName)
        return "its name is not that of a visible .jpg file";
    std::error_code ec;
    // Kept slides reach the preview folder only as files, never through a link.
    if (!std::filesystem::is_regular_file(std::filesystem::symlink_status(file, ec)))
        return "there is no file of that name beside the project (links are not followed)";
    try {
        const JpegReader header(file);
    } catch (const VelloriaError &) {
        return "it does not read as a JPEG picture";
    }
    return {};
}
