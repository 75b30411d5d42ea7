#pragma once

// Which web browser shows the preview: the desktop's default, one of the browsers found
// installed, or a program the user names. The choice is kept in the settings under
// "...\Web Browsers" and read back by rules that older stored values rely on.

#include "Launcher.h"
#include "SettingsStore.h"

#include <filesystem>
#include <string>
#include <vector>

struct TBrowserEntry
{
    std::string Name;
    std::string ExePath;
};

struct BrowserChoice
{
    bool useDefault = true;
    bool useKnown = false;
    bool useSpecified = false;
    int selected = -1; // index into the known browsers; -1 for none
    std::string specifiedPath;
};

namespace browserchoice {

// The standard program folders, searched in this order.
std::vector<std::filesystem::path> standardProgramFolders();

// Four steps in a fixed order, Firefox, Chromium, Google Chrome and GNOME Web, each adding
// at most one entry: the first of its program names found as an executable file.
std::vector<TBrowserEntry> detect(const std::vector<std::filesystem::path> &programFolders);

// The stored choice for a list of `knownCount` browsers. Values are read in their order;
// a missing value or one of the wrong kind ends the reading, keeping what was read before.
// A flag that is true checks its mode and clears the others, so the last true flag wins;
// the known-browser mode falls back to the default browser when nothing was detected.
BrowserChoice restore(const SettingsStore &settings, int knownCount);

// Writes the five values in their order, creating the keys level by level. Failures are
// swallowed: what was written stays written.
void store(SettingsStore &settings, const BrowserChoice &choice);

// Opens the page with the choice: the default handler, the user's program or the selected
// known browser, each given the page as exactly one argument. Starts nothing when no mode
// is chosen or the known mode has no selection. Throws VelloriaError, naming the program
// tried, when it cannot be started.
void openInBrowser(const BrowserChoice &choice, const std::vector<TBrowserEntry> &known,
                   const std::string &page, Launcher &launcher);

// A web address or a local page with the desktop's default browser, whatever the choice
// (the help's links, the home page). Throws VelloriaError, naming the address, when no
// browser can be started.
void openWithDefaultBrowser(Launcher &launcher, const std::string &address);

} // namespace browserchoice
