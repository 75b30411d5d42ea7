#include "LocalPathToURL.h"

#include <algorithm>

std::string LocalPathToURL(const std::string &path)
{
    std::string url = path;
    std::replace(url.begin(), url.end(), '\\', '/');
    std::replace(url.begin(), url.end(), ':', '|');
    // An absolute Linux path brings its own third slash.
    return (path.starts_with('/') ? "file://" : "file:///") + url;
}
