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

constexpr char32_t notUtf8 = 0x110000;

// The character of the UTF-8 sequence at value[i], moving i past it; notUtf8 when no
// well-formed sequence starts there (stray, overlong, a surrogate, beyond U+10FFFF or cut
// short).
char32_t nextUtf8Character(std::string_view value, std::size_t &i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(value[k]); };
    const unsigned lead = byte(i);
    if (lead < 0x80)
        return ++i, lead;
    const std::size_t more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    if (more == 0 || lead > 0xF4 || i + 1 + more > value.size())
        return notUtf8;
    char32_t c = lead & (0x3Fu >> more);
    for (std::size_t k = 1; k <= more; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return notUtf8;
        c = c << 6 | (byte(i + k) & 0x3F);
    }
    static constexpr char32_t least[] = {0, 0x80, 0x800, 0x10000};
    if (c < least[more] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return notUtf8;
    i += 1 + more;
    return c;
}

bool isUtf8(std::string_view value)
{
    for (std::size_t i = 0; i < value.size();)
        if (nextUtf8Character(value, i) == notUtf8)
            return false;
    return true;
}

// 0x80 to 0x9F are where Windows-1252 differs from Latin-1; its five holes give U+FFFD, as
// the editor shows them.
char32_t windows1252(unsigned char byte)
{
    static constexpr char16_t high[32] = {
        0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};
    return byte >= 0x80 && byte < 0xA0 ? high[byte - 0x80] : byte;
}

// The characters of a stored value. A value that is not UTF-8 was typed on Windows, in its
// code page: read as a whole as Windows-1252, as the editor reads it, so that "Caf\xE9"
// publishes as Café and not as a replacement mark.
class StoredText
{
public:
    explicit StoredText(std::string_view value) : m_value(value), m_utf8(isUtf8(value)) {}

    // The character beyond ASCII at value[i], moving i past it.
    char32_t next(std::size_t &i) const
    {
        if (!m_utf8)
            return windows1252(static_cast<unsigned char>(m_value[i++]));
        return nextUtf8Character(m_value, i);
    }

private:
    std::string_view m_value;
    bool m_utf8;
};

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
    const StoredText text(value);
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size();) {
        const char c = value[i];
        if (!isAscii(c)) {
            out += scriptEscape(text.next(i)); // U+2028 too: a line break to old engines
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
    const StoredText text(value);
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size();) {
        const char c = value[i];
        if (!isAscii(c)) {
            out += "&#" + std::to_string(text.next(i)) + ";";
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
    const StoredText text(value);
    std::string out;
    for (std::size_t i = 0; i < value.size();) {
        const char c = value[i];
        const auto byte = static_cast<unsigned char>(c);
        const bool leadingDigit = i == 0 && std::isdigit(byte);
        if (!isAscii(c)) {
            out += "\\" + hex(text.next(i), 1) + " ";
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

std::string escapeForTerminal(std::string_view value)
{
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size();) {
        const auto byte = static_cast<unsigned char>(value[i]);
        std::size_t end = i;
        const char32_t c = nextUtf8Character(value, end);
        if (c == '\n' || c == '\r' || c == '\t')
            out += c == '\n' ? "\\n" : c == '\r' ? "\\r" : "\\t";
        else if (c == notUtf8 || c < 0x20 || c == 0x7F)
            out += "\\x" + hex(byte, 2);
        else if (c >= 0x80 && c < 0xA0)
            out += "\\u" + hex(c, 4);
        else
            out.append(value.substr(i, end - i));
        i = c == notUtf8 ? i + 1 : end;
    }
    return out;
}
