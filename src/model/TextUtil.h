#pragma once

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>
#include <vector>

// Without leading and trailing blanks and control characters, as the editor trims its fields.
inline std::string trimmed(std::string_view text)
{
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return std::string(text);
}

inline bool equalIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

inline char lowerAscii(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// Where `part` starts in `text`, compared without regard to ASCII letter case: one flag per
// position of `text`, occurrences may overlap; none for an empty `part`. Knuth-Morris-Pratt,
// so the work grows with the two lengths added, not multiplied: a naive comparison at every
// position took half a minute for a long link and a long root.
inline std::vector<bool> occurrencesIgnoringCase(std::string_view text, std::string_view part)
{
    std::vector<bool> starts(text.size(), false);
    if (part.empty() || part.size() > text.size())
        return starts;
    std::string pattern(part);
    std::transform(pattern.begin(), pattern.end(), pattern.begin(), lowerAscii);
    // fallback[q]: the longest proper prefix of pattern[0..q] that is also its suffix.
    std::vector<std::size_t> fallback(pattern.size(), 0);
    for (std::size_t q = 1, k = 0; q < pattern.size(); ++q) {
        while (k > 0 && pattern[q] != pattern[k])
            k = fallback[k - 1];
        if (pattern[q] == pattern[k])
            ++k;
        fallback[q] = k;
    }
    std::size_t matched = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = lowerAscii(text[i]);
        while (matched > 0 && pattern[matched] != c)
            matched = fallback[matched - 1];
        if (pattern[matched] == c)
            ++matched;
        if (matched == pattern.size()) {
            starts[i + 1 - pattern.size()] = true;
            matched = fallback[matched - 1];
        }
    }
    return starts;
}

// Every occurrence of `from`, compared without regard to ASCII letter case, becomes `to`,
// from left to right: where two overlap, the first is replaced and the second is not.
inline std::string replacedIgnoringCase(std::string_view text, std::string_view from,
                                        std::string_view to)
{
    if (from.empty())
        return std::string(text);
    const std::vector<bool> starts = occurrencesIgnoringCase(text, from);
    std::string out;
    out.reserve(text.size());
    std::size_t copied = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (starts[i]) {
            out.append(text.substr(copied, i - copied));
            out.append(to);
            i += from.size();
            copied = i;
        } else {
            ++i;
        }
    }
    out.append(text.substr(copied));
    return out;
}

inline bool containsIgnoringCase(std::string_view text, std::string_view part)
{
    if (part.empty())
        return true;
    const std::vector<bool> starts = occurrencesIgnoringCase(text, part);
    return std::find(starts.begin(), starts.end(), true) != starts.end();
}

inline std::string joined(const std::vector<std::string> &parts, std::string_view separator)
{
    std::string text;
    for (const std::string &part : parts)
        text += (text.empty() ? "" : std::string(separator)) + part;
    return text;
}
