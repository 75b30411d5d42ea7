#pragma once

// Writes a project file: fixed tag lines, one parameter line, one line per item, every
// line ending in CR LF. Values are checked before anything is written, and the file is
// replaced only once the new content is complete.

#include "AppletRecords.h"
#include "ProgressDisplay.h"

#include <filesystem>
#include <string>

class ProjectFileWriter
{
public:
    ProjectFileWriter(const TAppletData &parameters, const TItemArray &items,
                      ProgressDisplay &progress);

    // Raises VelloriaError, leaving the file as it was, when a value cannot be stored
    // or the file cannot be written.
    void save(const std::filesystem::path &path);

    // The file's bytes; reports progress like a save.
    std::string text();

    // Raises VelloriaError naming the field when a value cannot be stored.
    static void checkStorable(const TAppletData &parameters, const TItemArray &items);

private:
    void appendLine(std::string_view line);
    template <typename Record> void appendRecordLine(const Record &record, int stepPerField);

    const TAppletData &m_parameters;
    const TItemArray &m_items;
    ProgressDisplay &m_progress;
    std::string m_text;
};
