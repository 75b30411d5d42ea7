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

namespace {

// "scheme:" and any "//" after it, where the scheme is a letter and at least one more letter,
// digit, "+", "." or "-"; empty when the link has none.
std::string_view beginningOf(std::string_view link)
{
    const std::size_t colon = link.find(':');
    if (colon == std::string_view::npos || colon < 2)
        return {};
    auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    for (std::size_t i = 0; i < colon; ++i) {
        const char c = link[i];
        const bool digitOrMark = (c >= '0' && c <= '9') || c == '+' || c == '.' || c == '-';
        if (!letter(c) && (i == 0 || !digitOrMark))
            return {};
    }
    const std::size_t end = link.substr(colon + 1).starts_with("//") ? colon + 3 : colon + 1;
    return link.substr(0, end);
}

} // namespace

std::vector<std::string> linkChoices(std::string_view link)
{
    const std::string_view address = link.substr(beginningOf(link).size());
    std::vector<std::string> choices;
    for (std::string_view beginning : pagerules::linkBeginnings)
        choices.push_back(std::string(beginning) + std::string(address));
    return choices;
}
