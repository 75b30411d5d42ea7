#pragma once

#include <string>

// The link a browser opens for a local file: "C:\site\index.htm" gives
// "file:///C|/site/index.htm", "/home/u/a b.htm" gives "file:///home/u/a b.htm". Only
// separators and colons change; blanks and everything else stay as they are.
std::string LocalPathToURL(const std::string &path);
