#include "BrowserChoice.h"

#include "UserSettings.h"
#include "VelloriaError.h"

#include <unistd.h>

namespace browserchoice {
namespace {

struct DetectionStep
{
    const char *name;
    std::vector<const char *> programs;
};

const DetectionStep steps[] = {
    {"Firefox", {"firefox", "firefox-esr"}},
    {"Chromium", {"chromium", "chromium-browser"}},
    {"Google Chrome", {"google-chrome", "google-chrome-stable"}},
    {"GNOME Web", {"epiphany", "epiphany-browser"}},
};

bool isProgram(const std::filesystem::path &file)
{
    std::error_code error;
    return std::filesystem::is_regular_file(file, error) && ::access(file.c_str(), X_OK) == 0;
}

// Each mode that becomes checked clears the others; the known mode needs a list.
void checkMode(BrowserChoice &choice, bool *mode, int knownCount)
{
    choice.useDefault = choice.useKnown = choice.useSpecified = false;
    *mode = true;
    if (choice.useKnown && knownCount == 0) {
        choice.useKnown = false;
        choice.useDefault = true;
    }
}

} // namespace

std::vector<std::filesystem::path> standardProgramFolders()
{
    return {"/usr/local/bin", "/usr/bin",         "/bin",
            "/snap/bin",      "/usr/lib/firefox", "/opt/google/chrome"};
}

std::vector<TBrowserEntry> detect(const std::vector<std::filesystem::path> &programFolders)
{
    std::vector<TBrowserEntry> found;
    for (const DetectionStep &step : steps) {
        bool added = false;
        for (const char *program : step.programs)
            for (const std::filesystem::path &folder : programFolders)
                if (!added && isProgram(folder / program)) {
                    found.push_back({step.name, (folder / program).string()});
                    added = true;
                }
    }
    return found;
}

BrowserChoice restore(const SettingsStore &settings, int knownCount)
{
    BrowserChoice choice;
    const std::string key = usersettings::webBrowsersKey;
    if (!settings.openKey(key))
        return choice;
    const std::pair<const char *, bool BrowserChoice::*> flags[] = {
        {"UseDefaultBrowser", &BrowserChoice::useDefault},
        {"UseKnownBrowser", &BrowserChoice::useKnown},
        {"UseSpecifiedBrowser", &BrowserChoice::useSpecified}};
    for (const auto &[name, mode] : flags) {
        const SettingRead<std::int32_t> read = settings.readNumber(key, name);
        if (!read.found())
            return choice;
        if (read.value != 0)
            checkMode(choice, &(choice.*mode), knownCount);
        else
            choice.*mode = false;
    }
    const SettingRead<std::int32_t> number = settings.readNumber(key, "SelectedBrowserNumber");
    if (!number.found())
        return choice;
    if (number.value < knownCount)
        choice.selected = number.value < 0 ? -1 : number.value;
    else if (knownCount > 0)
        choice.selected = 0;
    choice.specifiedPath = settings.readText(key, "SpecifiedBrowserExePath").valueOr("");
    return choice;
}

void store(SettingsStore &settings, const BrowserChoice &choice)
{
    const std::string key = usersettings::webBrowsersKey;
    try {
        openWithCreation(settings, key);
        if (!settings.openKey(key))
            return;
        settings.writeNumber(key, "UseDefaultBrowser", choice.useDefault ? 1 : 0);
        settings.writeNumber(key, "UseKnownBrowser", choice.useKnown ? 1 : 0);
        settings.writeNumber(key, "UseSpecifiedBrowser", choice.useSpecified ? 1 : 0);
        settings.writeNumber(key, "SelectedBrowserNumber", choice.selected);
        settings.writeText(key, "SpecifiedBrowserExePath", choice.specifiedPath);
    } catch (const std::exception &) {
        // A choice that cannot be kept is the one in force for this run only.
    }
}

void openInBrowser(const BrowserChoice &choice, const std::vector<TBrowserEntry> &known,
                   const std::string &page, Launcher &launcher)
{
    const auto refuse = [&](const std::string &tried) {
        throw VelloriaError("Cannot show \"" + page + "\": " + tried +
                            " could not be started. Choose another browser under Option > Web "
                            "Browser.");
    };
    if (choice.useDefault) {
        if (!launcher.openWithDefault(page))
            refuse("the desktop's default browser");
    } else if (choice.useSpecified) {
        if (!launcher.startProgram(choice.specifiedPath, page))
            refuse("the browser \"" + choice.specifiedPath + "\"");
    } else if (choice.useKnown && choice.selected >= 0 &&
               choice.selected < static_cast<int>(known.size())) {
        const std::string &program = known[static_cast<std::size_t>(choice.selected)].ExePath;
        if (!launcher.startProgram(program, page))
            refuse("the browser \"" + program + "\"");
    }
}

void openWithDefaultBrowser(Launcher &launcher, const std::string &address)
{
    if (!launcher.openWithDefault(address))
        throw VelloriaError("Cannot open \"" + address +
                            "\": the desktop's default browser could not be started.");
}

} // namespace browserchoice
