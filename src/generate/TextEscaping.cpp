#include "TextEscaping.h"

#include <cctype>

namespace {

bool isAsciiAlnum(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

} // namespace

std::string escapeScriptString(std::string_view value)
{
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '\'' || c == '\\')
            out += {'\\', c};
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '<' && i + 1 < value.size() && value[i + 1] == '/')
            out += "<\\"; // "</script>" must not end an inline script early
        else if (value.substr(i, 3) == "\xE2\x80\xA8" || value.substr(i, 3) == "\xE2\x80\xA9")
            out += value[(i += 2)] == '\xA8' ? "\\u2028" : "\\u2029"; // line breaks to old engines
        else
            out += c;
    }
    return out;
}

std::string escapeHtml(std::string_view value)
{
    std::string out;
    out.reserve(value.size());
    for (char c : value) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string escapeCssIdentifier(std::string_view value)
{
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        const bool leadingDigit = i == 0 && std::isdigit(static_cast<unsigned char>(c));
        if (!leadingDigit && (isAsciiAlnum(c) || c == '-' || c == '_' || (c & 0x80)))
            out += c;
        else if (leadingDigit || static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            static const char hex[] = "0123456789abcdef";
            const auto byte = static_cast<unsigned char>(c);
            out += {'\\', hex[byte >> 4], hex[byte & 15], ' '};
        } else
            out += {'\\', c};
    }
    return out;
}
