#pragma once

// The questions of the core's commands and those only the editor asks: a colour for a
// panel, the tip about local links. The program answers with real dialogs (QtUserPrompts), tests
// from a script.

#include "TemplateChoice.h"
#include "model/UserPrompts.h"

#include <QColor>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class EditorPrompts : public UserPrompts
{
public:
    virtual std::optional<QColor> chooseColour(const QColor &initial) = 0;
    // JPEG pictures to add, several at once, the dialog starting in initialFolder; in the
    // order chosen, empty when the user cancels.
    virtual std::vector<std::string> choosePictures(const std::string &initialFolder) = 0;
    // A folder whose pictures to add; nothing when the user cancels.
    virtual std::optional<std::string> choosePictureFolder(const std::string &initialFolder) = 0;
    // A program to run: the dialog lists folders and the files one may execute.
    virtual std::optional<std::string> chooseProgram() = 0;
    // The tip about local links, shown modally.
    virtual void showLinkTip() = 0;
    // The about box, shown modally.
    virtual void showAbout() = 0;
    // The browser choice, shown modally; OK keeps it in the settings.
    virtual void showWebBrowser() = 0;
    // The template chooser over the templates folder, shown modally.
    virtual TemplateChoice chooseTemplate(const std::filesystem::path &folder) = 0;
    // The HTML code window with a build's page, shown modally.
    virtual void showHtmlCode(const std::string &page) = 0;
    // The publish report window with one Publish's report, shown modally.
    virtual void showPublishReport(const std::string &report) = 0;
};
