#include "PageRules.h"

#include "ExtractField.h"

const char *unstorableTextReason(std::string_view text)
{
    if (text.find(fieldSeparator) != std::string_view::npos)
        return "The text can't include \"#$@\", it is used by system!";
    // Two single-character scans: find_first_of would search the set once per character.
    if (text.find('\n') != std::string_view::npos || text.find('\r') != std::string_view::npos)
        return "The text can't include a line break, the project file keeps each record on one "
               "line.";
    return nullptr;
}

bool isScriptIdentifier(std::string_view value)
{
    auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (value.empty() || digit(value.front()))
        return false;
    for (char c : value)
        if (!letter(c) && !digit(c) && c != '_' && c != '$')
            return false;
    return true;
}
