#pragma once

// Two projects published into one folder would share its velloriacfg.js, velloria.css and
// slide names: the later publish silently takes the other's page over, which then shows the
// wrong pictures or none. So before a publish writes, it looks whose show the folder holds.

#include "model/AppletRecords.h"

#include <optional>
#include <string>

// The show of another project in `folder` (a site folder, with or without a trailing
// separator; empty for the current one), described for a refusal or a question: which
// project and show, and what publishing there would do to it. Nothing when the folder holds
// no show or the show of this project, named `projectFileName` as the user chose it
// ("gallery.jfs"), whose parameters are `data`.
//
// The folder's show is the one whose publish report was written last: republishing a
// project is no conflict, not even after another project's show was replaced by it. A
// folder without any report holds another show when its velloriacfg.js configures another
// show name.
std::optional<std::string> otherShowIn(const std::string &folder,
                                       const std::string &projectFileName, const TAppletData &data);
