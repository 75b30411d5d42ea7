#pragma once

// Reads the text of a project file. Tags are matched as whole lines, case-sensitive and
// untrimmed; lines may end in CR LF or LF alone, and the last one needs no line end.
// The reader only parses: the agent decides what of the result replaces the project.

#include "AppletRecords.h"
#include "ProgressDisplay.h"

#include <optional>
#include <string_view>

struct ProjectFileContent
{
    enum class End {
        NoProject,         // empty, or no tags up to the parameter line
        Foreign,           // the product name is not ours
        BeforeItemSection, // the parameter line was read, the item section never began
        InsideItemSection, // the file ends before "</Item_Parameters>"
        Complete,
    };

    End end = End::NoProject;
    std::optional<TAppletData> parameters;
    TItemArray items;
};

class ProjectFileReader
{
public:
    // Shows "Loading Data ... ..." and the busy cursor once the item section begins;
    // whoever finishes the load clears them.
    ProjectFileReader(std::string_view text, ProgressDisplay &progress);

    ProjectFileContent read();

private:
    bool atEnd() const { return m_rest.empty(); }
    std::string_view nextLine();
    bool skipTo(std::string_view tag);
    bool skipFromNextLineTo(std::string_view tag);
    void readItems();

    std::string_view m_rest;
    std::string_view m_line;
    ProgressDisplay &m_progress;
    ProjectFileContent m_content;
};
