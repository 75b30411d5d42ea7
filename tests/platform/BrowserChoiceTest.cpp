// The browser choice as stored values of every kind read back, detection over fake
// programs, and how a page is handed to the chosen browser.

#include "platform/BrowserChoice.h"

#include "common/TempFolder.h"
#include "platform/MemorySettingsStore.h"
#include "platform/UserSettings.h"
#include "platform/VelloriaError.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

const std::string key = usersettings::webBrowsersKey;

struct Stored
{
    std::vector<std::pair<std::string, std::int32_t>> numbers; // written in this order
    int knownCount;
    bool useDefault, useKnown, useSpecified;
    int selected;
};

class Restore : public ::testing::TestWithParam<Stored>
{};

TEST_P(Restore, followsTheStoredValuesInTheirOrder)
{
    MemorySettingsStore settings;
    if (!GetParam().numbers.empty()) {
        settings.createKey(key);
        for (const auto &[name, value] : GetParam().numbers)
            name == "text" ? (void)settings.writeText(key, "UseKnownBrowser", "yes")
                           : (void)settings.writeNumber(key, name, value);
        settings.writeText(key, "SpecifiedBrowserExePath", "/opt/my browser");
    }
    const BrowserChoice choice = browserchoice::restore(settings, GetParam().knownCount);
    EXPECT_EQ(choice.useDefault, GetParam().useDefault);
    EXPECT_EQ(choice.useKnown, GetParam().useKnown);
    EXPECT_EQ(choice.useSpecified, GetParam().useSpecified);
    EXPECT_EQ(choice.selected, GetParam().selected);
}

const std::vector<std::pair<std::string, std::int32_t>> flags(int d, int k, int s, int n)
{
    return {{"UseDefaultBrowser", d},
            {"UseKnownBrowser", k},
            {"UseSpecifiedBrowser", s},
            {"SelectedBrowserNumber", n}};
}

INSTANTIATE_TEST_SUITE_P(
    BrowserChoice, Restore,
    ::testing::Values(
        Stored{{}, 2, true, false, false, -1},                // first use
        Stored{flags(0, 0, 0, 1), 2, false, false, false, 1}, // nothing checked
        Stored{flags(1, 1, 0, 3), 2, false, true, false, 0},  // last true wins; past the list
        Stored{flags(0, 1, 0, 0), 0, true, false, false, -1}, // nothing detected
        Stored{flags(0, 0, 1, -1), 2, false, false, true, -1},
        Stored{{{"UseDefaultBrowser", 0}, {"UseKnownBrowser", 1}},
               2,
               false,
               true,
               false,
               -1}, // stops at a gap
        Stored{{{"UseDefaultBrowser", 0}, {"text", 0}}, 2, false, false, false, -1})); // stops at a
                                                                                       // text

TEST(BrowserChoice, storedChoicesComeBackAndPagesArriveAsOneArgument)
{
    MemorySettingsStore settings;
    BrowserChoice chosen;
    chosen.useDefault = false;
    chosen.useSpecified = true;
    chosen.selected = 1;
    chosen.specifiedPath = "/opt/my browser/run";
    browserchoice::store(settings, chosen);
    const BrowserChoice back = browserchoice::restore(settings, 2);
    EXPECT_TRUE(back.useSpecified);
    EXPECT_EQ(back.specifiedPath, chosen.specifiedPath);

    struct Recording : Launcher
    {
        bool openWithDefault(const std::string &page) override
        {
            calls.push_back({"", page});
            return true;
        }
        bool startProgram(const std::string &program, const std::string &argument) override
        {
            calls.push_back({program, argument});
            return program != "/gone/browser";
        }
        std::vector<std::pair<std::string, std::string>> calls;
    } launcher;
    const std::vector<TBrowserEntry> known{{"Firefox", "/usr/bin/firefox"}};
    browserchoice::openInBrowser(back, known, "/home/u/my site/~preview.html", launcher);
    BrowserChoice none = back;
    none.useSpecified = false;
    browserchoice::openInBrowser(none, known, "page", launcher);
    ASSERT_EQ(launcher.calls.size(), 1u);
    EXPECT_EQ(launcher.calls[0], (std::pair<std::string, std::string>{
                                     "/opt/my browser/run", "/home/u/my site/~preview.html"}));
    // A browser that cannot be started is named, not passed over in silence.
    BrowserChoice gone = back;
    gone.specifiedPath = "/gone/browser";
    try {
        browserchoice::openInBrowser(gone, known, "page", launcher);
        ADD_FAILURE() << "no error";
    } catch (const VelloriaError &e) {
        EXPECT_NE(std::string(e.what()).find("\"/gone/browser\" could not be started"),
                  std::string::npos)
            << e.what();
    }
}

TEST(BrowserChoice, detectionFindsOneProgramPerStepInTheStepsOrder)
{
    TempFolder folder;
    for (const char *program : {"epiphany", "chromium-browser", "chromium", "firefox-esr"}) {
        writeBytes(folder.file(program), "#!/bin/sh\n");
        ::chmod(folder.file(program).c_str(), 0755);
    }
    writeBytes(folder.file("google-chrome"), "not executable");
    const std::vector<TBrowserEntry> found = browserchoice::detect({folder.path()});
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].Name, "Firefox");
    EXPECT_EQ(found[1].ExePath, folder.file("chromium"));
    EXPECT_EQ(found[2].Name, "GNOME Web");
}

} // namespace
