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

// Opens "\Software\ZYB", "\Software\ZYB\Velloria\1.0" and then leafKey, each with creation,
// as every writer of the settings does. False when the keys could not all be kept.
bool openWithCreation(SettingsStore &store, const std::string &leafKey);

// Writes 0 or 1 under the Settings key. It never raises: a setting must never stop the
// command that changed it. False when it could not be kept beyond this run.
bool writeFlag(SettingsStore &store, const std::string &name, bool value);

// A dialog's "show me" flag: shown while the value is missing, not shown when it cannot be
// read as a number.
bool readShowFlag(const SettingsStore &store, const std::string &name);
