#include "TextEscaping.h"

#include <cctype>
#include <cstdio>

namespace {

bool isAsciiAlnum(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool isAscii(char c)
{
    return !(static_cast<unsigned char>(c) & 0x80);
}

// The character of the UTF-8 sequence at value[i], moving i past it. A lead byte that does
// not start a well-formed sequence (stray, overlong, a surrogate, beyond U+10FFFF or cut
// short) stands alone for U+FFFD, so a value in another code page gives one mark per byte.
char32_t nextCharacter(std::string_view value, std::size_t &i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(value[k]); };
    const unsigned lead = byte(i++);
    if (lead < 0x80)
        return lead;
    const std::size_t more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    if (more == 0 || lead > 0xF4 || i + more > value.size())
        return 0xFFFD;
    char32_t c = lead & (0x3Fu >> more);
    for (std::size_t k = 0; k < more; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0xFFFD;
        c = c << 6 | (byte(i + k) & 0x3F);
    }
    static constexpr char32_t least[] = {0, 0x80, 0x800, 0x10000};
    if (c < least[more] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0xFFFD;
    i += more;
    return c;
}

std::string hex(unsigned long value, int digits)
{
    char text[16];
    std::snprintf(text, sizeof text, "%0*lx", digits, value);
    return text;
}

std::string scriptEscape(char32_t c)
{
    if (c < 0x10000)
        return "\\u" + hex(c, 4);
    c -= 0x10000;
    return "\\u" + hex(0xD800 + (c >> 10), 4) + "\\u" + hex(0xDC00 + (c & 0x3FF), 4);
}

} // namespace

std::string escapeScriptString(std::string_view value)
{
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size();) {
        const char c = value[i];
        if (!isAscii(c)) {
            out += scriptEscape(nextCharacter(value, i)); // U+2028 too: a line break to old engines
            continue;
        }
        if (c == '\'' || c == '\\')
            out += {'\\', c};
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '<' && i + 1 < value.size() && value[i + 1] == '/')
            out += "<\\"; // "</script>" must not end an inline script early
        else
            out += c;
        ++i;
    }
    return out;
}

std::string escapeHtml(std::string_view value)
{
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size();) {
        const char c = value[i];
        if (!isAscii(c)) {
            out += "&#" + std::to_string(nextCharacter(value, i)) + ";";
            continue;
        }
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
        ++i;
    }
    return out;
}

std::string escapeCssIdentifier(std::string_view value)
{
    std::string out;
    for (std::size_t i = 0; i < value.size();) {
        const char c = value[i];
        const auto byte = static_cast<unsigned char>(c);
        const bool leadingDigit = i == 0 && std::isdigit(byte);
        if (!isAscii(c)) {
            out += "\\" + hex(nextCharacter(value, i), 1) + " ";
            continue;
        }
        if (!leadingDigit && (isAsciiAlnum(c) || c == '-' || c == '_'))
            out += c;
        else if (leadingDigit || byte < 0x20 || byte == 0x7F)
            out += "\\" + hex(byte, 2) + " ";
        else
            out += {'\\', c};
        ++i;
    }
    return out;
}
