#include "FileSettingsStore.h"

#include "FileDescriptor.h"
#include "FileIO.h"
#include "HomeFolder.h"
#include "VelloriaError.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

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

std::string textOf(const MemorySettingsStore &store)
{
    std::string text;
    for (const MemorySettingsStore::Key *key : store.keys()) {
        text += (text.empty() ? "[" : "\n[") + key->path + "]\n";
        for (const auto &[folded, named] : key->values)
            text += valueLine(named);
    }
    return text;
}

// Reads the settings of a file's text into the store, skipping lines it cannot read. The
// store's bounds refuse a key too deep and a name or text too long, line by line.
void load(MemorySettingsStore &store, std::string_view text)
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
            if (!store.createKey(*key))
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
                store.writeNumber(*key, *name, *number);
        } else if (value.starts_with(textTag)) {
            if (const auto content = unescaped(value.substr(textTag.size())))
                store.writeText(*key, *name, *content);
        }
    }
}

// The file's first maxFileSize bytes, up to the last whole line when there are more.
std::optional<std::string> readHead(const std::filesystem::path &file)
{
    const int opened = fileio::openRegularFile(file, "read");
    if (opened < 0)
        return std::nullopt;
    const FileDescriptor fd(opened);
    constexpr std::size_t limit = FileSettingsStore::maxFileSize;
    std::string bytes;
    char chunk[65536];
    while (bytes.size() <= limit) {
        const ssize_t got =
            ::read(fd.get(), chunk, std::min(sizeof chunk, limit + 1 - bytes.size()));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw VelloriaError(fileio::ioErrorText("read", file, errno));
        if (got == 0)
            break;
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
    if (bytes.size() > limit) {
        const std::size_t lastBreak = bytes.rfind('\n', limit - 1);
        bytes.resize(lastBreak == std::string::npos ? 0 : lastBreak + 1);
    }
    return bytes;
}

MemorySettingsStore readStore(const std::filesystem::path &file)
{
    MemorySettingsStore store;
    if (const std::optional<std::string> bytes = readHead(file))
        load(store, *bytes);
    return store;
}

// Held while a write reads the file again, merges and replaces it, so that two programs
// writing at once do not each replace the file with their own read of it. The folder is
// locked, not the file: the file is replaced by every write, and may not exist yet.
class FolderLock
{
public:
    explicit FolderLock(const std::filesystem::path &file)
        : m_fd(::open(folderOf(file).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        // Without a folder to open or a file system that locks, writes go on unlocked.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        while (m_fd.get() >= 0 && ::flock(m_fd.get(), LOCK_EX | LOCK_NB) != 0 &&
               errno == EWOULDBLOCK) {
            if (std::chrono::steady_clock::now() >= deadline)
                throw VelloriaError("Cannot write file \"" + file.string() +
                                    "\": another program keeps writing it");
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

private:
    static std::filesystem::path folderOf(const std::filesystem::path &file)
    {
        return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
    }

    FileDescriptor m_fd; // closing it releases the lock
};

} // namespace

FileSettingsStore::FileSettingsStore() : FileSettingsStore(defaultPath()) {}

FileSettingsStore::FileSettingsStore(std::filesystem::path file) : m_file(std::move(file))
{
    // Settings are a convenience: a file that cannot be read leaves the defaults.
    try {
        MemorySettingsStore::operator=(readStore(m_file));
    } catch (const std::exception &) {
    }
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
    return textOf(*this);
}

// Another program (a second editor, the user's text editor) may have changed the file since
// this store read it: the write reads it again and makes only this change to what it finds.
void FileSettingsStore::changed(const Change &change)
{
    std::error_code error;
    if (m_file.has_parent_path())
        std::filesystem::create_directories(m_file.parent_path(), error);
    if (error)
        throw VelloriaError(fileio::ioErrorText("write", m_file, error.value()));
    const FolderLock lock(m_file);
    MemorySettingsStore merged = readStore(m_file);
    merged.apply(change);
    fileio::writeFileAtomically(m_file, textOf(merged));
    MemorySettingsStore::operator=(std::move(merged));
}
