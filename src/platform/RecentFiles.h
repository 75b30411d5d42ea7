#pragma once

// The four project files opened or saved last, kept in a small text file ("recentfile.dat")
// whose lines are the File menu's captions: "&1 /home/me/show.jfs", slot 1 the most recent.
// Lines are written with CR LF and read with either line end.

#include <array>
#include <filesystem>
#include <string>
#include <vector>

class RecentFiles
{
public:
    static constexpr int maxRecentFiles = 4;

    explicit RecentFiles(std::filesystem::path file);

    // The non-empty lines among the first four, as written, in slot order. Creates the file
    // empty when it does not exist; a file that cannot be made is only an empty menu.
    std::vector<std::string> menuCaptions() const;

    // The path of a caption: everything after its first three characters ("&1 ").
    static std::string pathOfCaption(const std::string &caption);

    // Puts the path in slot 1, made absolute and lexically normal (symbolic links are not
    // followed), and moves the others down, the last one dropping off. A path already in the
    // list leaves list and file as they are, as does one that cannot be made absolute. True
    // when the list changed; raises VelloriaError naming the file when it cannot be written.
    bool add(const std::string &path);

private:
    using Slots = std::array<std::string, maxRecentFiles>;
    Slots readSlots() const;
    void createIfMissing() const;

    std::filesystem::path m_file;
};
