#include "MemorySettingsStore.h"

#include <algorithm>

namespace {

// Without a branch, so that the loop runs on whole vectors: each value line of a file
// folds its key's path.
std::string lowerCase(std::string text)
{
    for (char &c : text)
        c = static_cast<char>(c + (static_cast<unsigned char>(c - 'A') < 26 ? 'a' - 'A' : 0));
    return text;
}

std::string joined(const std::vector<std::string> &levels, std::size_t count)
{
    if (count == 0)
        return "\\";
    std::string path;
    for (std::size_t i = 0; i < count; ++i)
        path += "\\" + levels[i];
    return path;
}

bool usableLevel(const std::string &level)
{
    return !level.empty() && std::none_of(level.begin(), level.end(),
                                          [](unsigned char c) { return c < 0x20 || c == 0x7F; });
}

} // namespace

std::optional<std::vector<std::string>> MemorySettingsStore::levelsOf(const std::string &keyPath)
{
    std::vector<std::string> levels;
    const std::string_view path = std::string_view(keyPath).substr(keyPath.starts_with('\\'));
    if (path.empty())
        return levels;
    if (path.size() > maxKeyPathSize)
        return std::nullopt;
    std::size_t start = 0;
    for (std::size_t end; start <= path.size(); start = end + 1) {
        end = std::min(path.find('\\', start), path.size());
        levels.emplace_back(path.substr(start, end - start));
        if (!usableLevel(levels.back()) || levels.size() > maxKeyDepth)
            return std::nullopt;
    }
    return levels;
}

// Every key held was checked when it was created, and a path that cannot name a key never
// spells one, so a lookup needs no check: a file's value lines each look up their key.
std::string MemorySettingsStore::folded(const std::string &keyPath)
{
    return lowerCase(keyPath.starts_with('\\') ? keyPath : "\\" + keyPath);
}

const MemorySettingsStore::Key *MemorySettingsStore::find(const std::string &keyPath) const
{
    const auto key = m_keys.find(folded(keyPath));
    return key == m_keys.end() ? nullptr : &key->second;
}

bool MemorySettingsStore::openKey(const std::string &keyPath) const
{
    const auto levels = levelsOf(keyPath);
    return levels && (levels->empty() || find(keyPath));
}

// Like the registry's create: missing levels in between are made too, and a level that
// exists keeps the spelling it was first written with.
bool MemorySettingsStore::createKey(const std::string &keyPath)
{
    const auto levels = levelsOf(keyPath);
    if (!levels)
        return false;
    std::string spelled = "\\";
    bool created = false;
    for (std::size_t count = 0; count <= levels->size(); ++count) {
        const std::string folded = lowerCase(joined(*levels, count));
        if (count > 0)
            spelled = (count == 1 ? "" : spelled) + "\\" + (*levels)[count - 1];
        const auto [key, inserted] = m_keys.try_emplace(folded, Key{spelled, {}});
        spelled = key->second.path;
        created = created || inserted;
    }
    if (created)
        changed({keyPath, std::nullopt});
    return true;
}

template <class T>
SettingRead<T> MemorySettingsStore::read(const std::string &keyPath, const std::string &name) const
{
    using Status = typename SettingRead<T>::Status;
    const Key *key = find(keyPath);
    if (!key)
        return {Status::noKey, {}};
    const auto found = key->values.find(lowerCase(name));
    if (found == key->values.end())
        return {Status::missing, {}};
    if (const T *value = std::get_if<T>(&found->second.value))
        return {Status::value, *value};
    return {Status::wrongType, {}};
}

SettingRead<std::int32_t> MemorySettingsStore::readNumber(const std::string &keyPath,
                                                          const std::string &name) const
{
    return read<std::int32_t>(keyPath, name);
}

SettingRead<std::string> MemorySettingsStore::readText(const std::string &keyPath,
                                                       const std::string &name) const
{
    return read<std::string>(keyPath, name);
}

bool MemorySettingsStore::write(const std::string &keyPath, const std::string &name, Value value)
{
    const auto *text = std::get_if<std::string>(&value);
    if (name.size() > maxNameSize || (text && text->size() > maxTextSize))
        return false;
    const auto found = m_keys.find(folded(keyPath));
    if (found == m_keys.end())
        return false;
    Key &key = found->second;
    const auto [entry, inserted] = key.values.try_emplace(lowerCase(name), NamedValue{name, value});
    if (!inserted)
        entry->second.value = value;
    changed({keyPath, NamedValue{name, std::move(value)}});
    return true;
}

void MemorySettingsStore::apply(const Change &change)
{
    createKey(change.keyPath);
    if (change.written)
        write(change.keyPath, change.written->name, change.written->value);
}

bool MemorySettingsStore::writeNumber(const std::string &keyPath, const std::string &name,
                                      std::int32_t value)
{
    return write(keyPath, name, value);
}

bool MemorySettingsStore::writeText(const std::string &keyPath, const std::string &name,
                                    const std::string &value)
{
    return write(keyPath, name, value);
}

std::vector<const MemorySettingsStore::Key *> MemorySettingsStore::keys() const
{
    std::vector<const Key *> all;
    for (const auto &[folded, key] : m_keys)
        if (folded != "\\" || !key.values.empty())
            all.push_back(&key);
    return all;
}
