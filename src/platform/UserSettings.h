#pragma once

// The editor's own keys and the on/off settings it keeps under them.

#include "SettingsStore.h"

#include <string>

namespace usersettings {

inline constexpr const char *companyKey = "\\Software\\ZYB";
inline constexpr const char *versionKey = "\\Software\\ZYB\\Velloria\\1.0";
inline constexpr const char *settingsKey = "\\Software\\ZYB\\Velloria\\1.0\\Settings";
inline constexpr const char *webBrowsersKey = "\\Software\\ZYB\\Velloria\\1.0\\Web Browsers";

} // namespace usersettings

// The number `name` under the Settings key, non-zero meaning true; `missingMeans` when the
// key or the value is missing or the value is text.
bool readFlag(const SettingsStore &store, const std::string &name, bool missingMeans);

// Writes 0 or 1. A setting that cannot be written is lost quietly: it must never stop the
// command that changed it.
void writeFlag(SettingsStore &store, const std::string &name, bool value);

// A dialog's "show me" flag: shown while the value is missing, not shown when it cannot be
// read as a number.
bool readShowFlag(const SettingsStore &store, const std::string &name);

// Writes a flag, creating the keys level by level; false when it could not be kept.
bool tryWriteFlag(SettingsStore &store, const std::string &name, bool value);
