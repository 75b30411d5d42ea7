#include "model/LocalPathToURL.h"

#include "model/PageRules.h"

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

// The link list puts the chosen beginning in front of the address typed so far, in place of
// the address's own; the old "mailto://" gives way like any other.
TEST(LinkChoices, replaceTheLinksOwnBeginning)
{
    const std::pair<std::string, std::string> cases[] = {
        {"", "https://"},
        {"www.example.com", "https://www.example.com"},
        {"http://www.example.com/a?b=c:d", "https://www.example.com/a?b=c:d"},
        {"HTTPS://Example.com", "https://Example.com"},
        {"mailto://ann@example.com", "https://ann@example.com"},
        {"svn+ssh://host/x", "https://host/x"},
        {"file:///C|/site/a.htm", "https:///C|/site/a.htm"},
        // A drive letter, a digit first, a path before the colon: no beginning.
        {"C:\\site\\a.htm", "https://C:\\site\\a.htm"},
        {"8080:x", "https://8080:x"},
        {"a/b:c", "https://a/b:c"},
    };
    for (const auto &[link, first] : cases)
        EXPECT_EQ(linkChoices(link).front(), first) << link;
    EXPECT_EQ(linkChoices("mailto://ann@example.com"),
              (std::vector<std::string>{"https://ann@example.com", "http://ann@example.com",
                                        "mailto:ann@example.com", "javascript:ann@example.com",
                                        "ftp://ann@example.com", "news://ann@example.com"}));
}
