#pragma once

#include <charconv>
#include <optional>
#include <string_view>

// A stored number: optional sign and decimal digits, nothing else, within int's range.
inline std::optional<int> parseDecimal(std::string_view text)
{
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    int value = 0;
    const char *last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, value);
    if (text.empty() || error != std::errc() || end != last)
        return std::nullopt;
    return value;
}

// A number as a project stores it for the page and the script: an optional "-" and decimal
// digits, nothing else, within int's range. "+5" and "+-5" are refused: the page and the
// script would each read them their own way.
inline std::optional<int> parseWholeNumber(std::string_view text)
{
    if (!text.empty() && text.front() == '+')
        return std::nullopt;
    return parseDecimal(text);
}
