#pragma once

// The scratch folder "preview" inside the installation folder, where a browser shows the
// slide show before anything is saved. It remembers every file name copied in, so that
// clearing removes those files and nothing else. Copying and clearing report no failure: a
// missing source simply leaves no copy.
//
// The folder is used only when it is a real folder of this user. A symbolic link at its
// place (or anything else) is left alone: writing through it would put the preview, and
// clearing would delete files, wherever it points.

#include "model/AppletRecords.h"
#include "platform/FileIO.h"

#include <filesystem>

class PreviewFolder
{
public:
    explicit PreviewFolder(std::filesystem::path folder);

    // Copies the file in under its own name, creating the folder when needed, and records
    // the name whether or not the copy succeeded. Only regular files are copied, and a
    // symbolic link only when `links` follows them.
    void copyIn(const std::filesystem::path &file,
                fileio::SourceLinks links = fileio::SourceLinks::follow);
    // Writes a file made for the preview under `name` and records it. Raises VelloriaError
    // naming the folder and the reason when the folder cannot be had.
    void writeIn(const std::string &name, std::string_view bytes);
    // Deletes the recorded files, forgets them and removes the folder when it is empty.
    void clear();
    // Deletes one file of ours that is no longer part of the show; its name stays recorded.
    void removeIn(const std::string &name);
    // True when the folder is ours and holds a file (not a link) of that bare name.
    bool holdsFile(const std::string &name) const;

    // The name of a slide's companion at twice the size, which sorts beside it:
    // "slider0.jpg" -> "slider0@2x.jpg". The slide and its companion travel together from
    // the project's folder to the preview folder and on to the site.
    static std::string sharpSlideName(const std::string &slide);

    // Slide names are bare file names. A name from a file that points elsewhere ("../..")
    // must not pull other files into the preview, and from there onto a web site.
    static bool isBareFileName(const std::string &name);

    const std::filesystem::path &folder() const { return m_folder; }
    const TStringArray &files() const { return m_files; }

    // True when the folder is a real folder of this user, so that what it holds was put
    // there by us.
    bool isOwnFolder() const;

private:
    // Creates the folder when missing; empty when it is ours to use, else the reason not.
    std::string makeFolder() const;

    std::filesystem::path m_folder;
    TStringArray m_files;
};
