// The help pages shipped with the program: every link between them leads to a page that is
// there.

#include "common/TempFolder.h"

#include <gtest/gtest.h>
#include <regex>

namespace fs = std::filesystem;

TEST(HelpPages, everyLocalLinkResolves)
{
    const fs::path help = fs::path(VELLORIA_RESOURCES) / "help";
    const std::regex link("href=\"([^\"#]*)");
    int pages = 0;
    for (const auto &entry : fs::directory_iterator(help)) {
        const std::string text = readBytes(entry.path().string());
        ++pages;
        for (std::sregex_iterator it(text.begin(), text.end(), link), end; it != end; ++it) {
            const std::string target = (*it)[1];
            if (target.empty() || target.find("://") != std::string::npos)
                continue;
            EXPECT_TRUE(fs::exists(help / target)) << entry.path().filename() << " -> " << target;
        }
    }
    EXPECT_GE(pages, 12);
}
