#include "model/LocalPathToURL.h"

#include <gtest/gtest.h>

TEST(LocalPathToURL, changesOnlySeparatorsAndColons)
{
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\site\\index.htm", "file:///C|/site/index.htm"},
        {"C:\\My Site\\a b.htm", "file:///C|/My Site/a b.htm"},
        {"/home/u/a b.htm", "file:///home/u/a b.htm"},
        {"/home/u/at 10:30.htm", "file:///home/u/at 10|30.htm"},
        {"/home/u/back\\slash%20.htm", "file:///home/u/back/slash%20.htm"},
        {"\\\\server\\share\\x.htm", "file://///server/share/x.htm"},
        {"relative/page.htm", "file:///relative/page.htm"},
    };
    for (const auto &[path, url] : cases)
        EXPECT_EQ(LocalPathToURL(path), url) << path;
}
