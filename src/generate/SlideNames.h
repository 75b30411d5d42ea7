#pragma once

// The names of the slide pictures of one generation run. An item whose original is missing
// keeps the picture it was published with, under its stored name, and its companion at twice
// the size (PreviewFolder::sharpSlideName); a new slide and its companion never take such a
// name, or they would overwrite the only copy of a kept picture.

#include "model/AppletRecords.h"

#include <filesystem>
#include <set>
#include <string>

class SlideNames
{
public:
    void keep(const std::string &name);

    // "slider" + position + ".jpg" while no kept picture has that name or its companion's,
    // otherwise the first "slider" + position + "_" + n + ".jpg" that none has.
    std::string forPosition(int position) const;

    // A stored name is published as a file of the site: it must be a bare file name and
    // none of the files a run writes itself (the scripts, the preview page, the report,
    // and `ownFiles`). Compared ignoring case, as the web server may.
    static bool isUsable(const std::string &name, const TStringArray &ownFiles);

    // A kept slide is published as it lies, so it must be what the show takes it for: a
    // plain, visible ".jpg" name (no folder, not hidden) and a `file` that reads as a JPEG
    // picture. Otherwise a project could put ".htaccess", a script or a page of its own on
    // the site. Empty when it may be published, else why not.
    static std::string keptSlideProblem(const std::string &name, const std::filesystem::path &file);

private:
    bool isKept(const std::string &name) const;

    std::set<std::string> m_kept; // in lower case
};
