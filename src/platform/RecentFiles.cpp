#include "RecentFiles.h"

#include "FileIO.h"
#include "VelloriaError.h"

#include <algorithm>
#include <exception>
#include <optional>

RecentFiles::RecentFiles(std::filesystem::path file) : m_file(std::move(file)) {}

void RecentFiles::createIfMissing() const
{
    // The list is a convenience: without it the menu is only empty.
    try {
        std::error_code error;
        if (!std::filesystem::exists(m_file, error) && !error)
            fileio::writeFileAtomically(m_file, "");
    } catch (const std::exception &) {
    }
}

RecentFiles::Slots RecentFiles::readSlots() const
{
    createIfMissing();
    Slots slots;
    std::optional<std::string> text;
    try {
        text = fileio::readIfPresent(m_file, "read");
    } catch (const std::exception &) {
    }
    const std::string_view bytes = text ? std::string_view(*text) : std::string_view();
    std::size_t start = 0;
    for (std::string &slot : slots) {
        if (start >= bytes.size())
            break;
        const std::size_t end = std::min(bytes.find('\n', start), bytes.size());
        std::string_view line = bytes.substr(start, end - start);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        slot = line;
        start = end + 1;
    }
    return slots;
}

std::vector<std::string> RecentFiles::menuCaptions() const
{
    std::vector<std::string> captions;
    for (const std::string &line : readSlots())
        if (!line.empty())
            captions.push_back(line);
    return captions;
}

std::string RecentFiles::pathOfCaption(const std::string &caption)
{
    return caption.size() > 3 ? caption.substr(3) : std::string();
}

bool RecentFiles::add(const std::string &path)
{
    if (path.empty())
        return false;
    // The list outlives the working folder: a relative path would name another file when the
    // program next runs from elsewhere. Links stay as given: the user chose that name.
    std::error_code error;
    const std::string full = std::filesystem::absolute(path, error).lexically_normal().string();
    if (error)
        return false;
    Slots slots = readSlots();
    for (std::string &slot : slots)
        if (!slot.empty())
            slot = pathOfCaption(slot);
    if (std::find(slots.begin(), slots.end(), full) != slots.end())
        return false;
    std::shift_right(slots.begin(), slots.end(), 1);
    slots.front() = full;
    std::string text;
    for (std::size_t slot = 0; slot < slots.size(); ++slot)
        if (!slots[slot].empty())
            text += "&" + std::to_string(slot + 1) + " " + slots[slot] + "\r\n";
    // A folder that cannot be made says why (a read-only or full disk), where the write
    // would only find no folder.
    std::filesystem::create_directories(m_file.parent_path(), error);
    if (error)
        throw VelloriaError("Cannot keep the recent files in \"" + m_file.parent_path().string() +
                            "\": " + error.message());
    fileio::writeFileAtomically(m_file, text);
    return true;
}
