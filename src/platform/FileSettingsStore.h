#pragma once

// Settings kept in a plain text file a user can read and edit, loaded when the store is
// made and written again after every change:
//
//   [\Software\ZYB\Velloria\1.0\Settings]
//   ShowTips=number:1
//   LastFolder=text:/home/me/shows\nsecond line
//
// A key without values still has its section, so a key once created stays. In names and
// text a backslash, line breaks and other control characters are escaped (\\, \n, \r, \t,
// \xHH); in names also "=" and a leading "[". A damaged or unreadable file reads as the
// settings of its good lines, or none; only its first maxFileSize bytes are read.
//
// Two programs may share the file: each write reads the file again, makes its one change to
// what it finds there and replaces the file atomically, so neither loses the other's
// settings.

#include "MemorySettingsStore.h"

#include <filesystem>

class FileSettingsStore : public MemorySettingsStore
{
public:
    // The per-user file: $XDG_CONFIG_HOME/velloria/settings, or ~/.config/velloria/settings.
    FileSettingsStore();
    explicit FileSettingsStore(std::filesystem::path file);

    // Settings take a few hundred bytes; a file this long is damaged, and the rest of it is
    // left unread.
    static constexpr std::size_t maxFileSize = std::size_t(1) << 20;

    static std::filesystem::path defaultPath();
    const std::filesystem::path &path() const { return m_file; }

    // The file's text for these settings.
    std::string text() const;

protected:
    // A write that fails raises VelloriaError naming the file; the store keeps the change
    // for this run. The editor ignores the error: a lost setting must not stop the user.
    void changed(const Change &change) override;

private:
    std::filesystem::path m_file;
};
