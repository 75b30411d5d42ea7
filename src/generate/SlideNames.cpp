#include "SlideNames.h"

#include "model/PreviewFolder.h"
#include "model/TextUtil.h"

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
    if (!name.empty())
        m_kept.insert(lowerCase(name));
}

bool SlideNames::isKept(const std::string &name) const
{
    return m_kept.count(lowerCase(name)) != 0;
}

std::string SlideNames::forPosition(int position) const
{
    const std::string stem = "slider" + std::to_string(position);
    std::string name = stem + ".jpg";
    for (int n = 1; isKept(name); ++n)
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
