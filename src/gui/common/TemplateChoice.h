#pragma once

#include <string>

// What the user chose in the template chooser: a template to open, a new project, or (OK
// without a selection) nothing at all.
struct TemplateChoice
{
    bool newProject = false;
    std::string path;
};
