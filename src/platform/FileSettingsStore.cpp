#include "FileSettingsStore.h"

#include "FileIO.h"
#include "HomeFolder.h"
#include "VelloriaError.h"

#include <charconv>
#include <cstdlib>
#include <optional>

namespace {

constexpr std::string_view numberTag = "number:";
constexpr std::string_view textTag = "text:";

std::string escaped(std::string_view text, bool isName)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else if (c < 0x20 || c == 0x7F || (isName && (c == '=' || (i == 0 && c == '['))))
            out += std::string("\\x") + hex[c >> 4] + hex[c & 15];
        else
            out += static_cast<char>(c);
    }
    return out;
}

std::optional<int> hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return std::nullopt;
}

// Nothing for an escape the writer never makes: the line is damaged.
std::optional<std::string> unescaped(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size())
            return std::nullopt;
        const char kind = text[i];
        if (kind == '\\' || kind == 'n' || kind == 'r' || kind == 't') {
            out += kind == 'n' ? '\n' : kind == 'r' ? '\r' : kind == 't' ? '\t' : '\\';
            continue;
        }
        if (kind != 'x' || i + 2 >= text.size() || !hexDigit(text[i + 1]) || !hexDigit(text[i + 2]))
            return std::nullopt;
        out += static_cast<char>(*hexDigit(text[i + 1]) * 16 + *hexDigit(text[i + 2]));
        i += 2;
    }
    return out;
}

// Signed as written, or a DWORD's unsigned spelling a user may have typed.
std::optional<std::int32_t> parsedNumber(std::string_view text)
{
    long long number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        number < INT32_MIN || number > UINT32_MAX)
        return std::nullopt;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(number));
}

std::string valueLine(const MemorySettingsStore::NamedValue &named)
{
    std::string line = escaped(named.name, true) + "=";
    if (const auto *number = std::get_if<std::int32_t>(&named.value))
        return line + std::string(numberTag) + std::to_string(*number) + "\n";
    return line + std::string(textTag) + escaped(std::get<std::string>(named.value), false) + "\n";
}

} // namespace

FileSettingsStore::FileSettingsStore() : FileSettingsStore(defaultPath()) {}

FileSettingsStore::FileSettingsStore(std::filesystem::path file) : m_file(std::move(file))
{
    // Settings are a convenience: a file that cannot be read leaves the defaults.
    m_loading = true;
    try {
        if (const std::optional<std::string> bytes = fileio::readIfPresent(m_file, "read"))
            load(*bytes);
    } catch (const std::exception &) {
    }
    m_loading = false;
}

std::filesystem::path FileSettingsStore::defaultPath()
{
    // XDG asks to ignore a relative XDG_CONFIG_HOME.
    const char *xdg = std::getenv("XDG_CONFIG_HOME");
    const std::filesystem::path base = xdg && std::filesystem::path(xdg).is_absolute()
                                           ? std::filesystem::path(xdg)
                                           : homeFolder() / ".config";
    return base / "velloria" / "settings";
}

std::string FileSettingsStore::text() const
{
    std::string text;
    for (const Key *key : keys()) {
        text += (text.empty() ? "[" : "\n[") + key->path + "]\n";
        for (const auto &[folded, named] : key->values)
            text += valueLine(named);
    }
    return text;
}

void FileSettingsStore::load(std::string_view text)
{
    std::optional<std::string> key; // none before the first good section
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (line.starts_with('[') && line.ends_with(']') && line.size() >= 2) {
            key = std::string(line.substr(1, line.size() - 2));
            if (!createKey(*key))
                key.reset();
            continue;
        }
        const std::size_t equals = line.find('=');
        const auto name = unescaped(line.substr(0, std::min(equals, line.size())));
        if (!key || equals == std::string_view::npos || !name)
            continue;
        const std::string_view value = line.substr(equals + 1);
        if (value.starts_with(numberTag)) {
            if (const auto number = parsedNumber(value.substr(numberTag.size())))
                writeNumber(*key, *name, *number);
        } else if (value.starts_with(textTag)) {
            if (const auto content = unescaped(value.substr(textTag.size())))
                writeText(*key, *name, *content);
        }
    }
}

void FileSettingsStore::changed()
{
    if (m_loading)
        return;
    std::error_code error;
    if (m_file.has_parent_path())
        std::filesystem::create_directories(m_file.parent_path(), error);
    if (error)
        throw VelloriaError(fileio::ioErrorText("write", m_file, error.value()));
    fileio::writeFileAtomically(m_file, text());
}
