#pragma once

// What the project commands need of the layer that makes a show's outputs: the page with
// its scripts, a whole site beside the project, and the publish report. The programs hand
// the commands an implementation over the same agent they edit.

#include "DesignTree.h"

#include <optional>
#include <string>

class ShowGenerator
{
public:
    virtual ~ShowGenerator() = default;

    // The slide pictures, the style sheet and the configuration script (in the agent's
    // installation folder) and the HTML page at pagePath. A run that refuses the project
    // writes nothing.
    virtual void BuildHTML(const std::string &pagePath, DesignTree &tree) = 0;
    // Everything a web site needs, next to the project: page, scripts, project file, report
    // and slides. folder ends with a path separator or is empty (the current folder).
    virtual bool SaveAndPublish(const std::string &folder, const std::string &fileName,
                                DesignTree &tree) = 0;
    virtual void WritePublishReport(const std::string &folder, const std::string &fileName) = 0;
    // Why the file at path cannot become a slide, naming it; nothing when it can.
    virtual std::optional<std::string> pictureProblem(const std::string &path) = 0;
};
