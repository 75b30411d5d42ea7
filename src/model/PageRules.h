#pragma once

// What the property pages refuse, for every face of them: the editor refuses as the user
// types, the command-line tool before it writes anything, and the project file writer as the
// last guard of the format.

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace pagerules {

// The bounds of the pages' spin edits (width, height, delay, step, border width).
inline constexpr int spinMinimum = -9999;
inline constexpr int spinMaximum = 9999;

inline constexpr const char *nameRule =
    "The name may hold only letters A-Z and a-z, digits, \"_\" and \"$\", and may not start "
    "with a digit.";

// The beginnings the Item page's link list offers, the likeliest first. "mailto:" has no
// slashes: a "mailto://" link does not reach the address.
inline constexpr std::array<std::string_view, 6> linkBeginnings = {
    "https://", "http://", "mailto:", "javascript:", "ftp://", "news://"};

} // namespace pagerules

// What the link list offers for a link being typed: each beginning in front of the link's
// address, which is the link without a beginning of its own. "www.example.com" and
// "http://www.example.com" both give "https://www.example.com", "http://www.example.com",
// "mailto:www.example.com" and so on; an empty link the beginnings alone. A drive letter
// ("C:") is not taken for a beginning.
std::vector<std::string> linkChoices(std::string_view link);

// Why the project file cannot hold the text, or nullptr. The format has no escape: a
// separator would split the value into two fields and a line break would split the line,
// shifting everything after it.
const char *unstorableTextReason(std::string_view text);

// ASCII letters, digits, "_" and "$", not starting with a digit, not empty: the show's name
// becomes a script identifier of the page.
bool isScriptIdentifier(std::string_view value);
