#include "MemorySettingsStore.h"

#include <algorithm>

namespace {

std::string lowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : static_cast<char>(c);
    });
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
    std::size_t start = 0;
    for (std::size_t end; start <= path.size(); start = end + 1) {
        end = std::min(path.find('\\', start), path.size());
        levels.emplace_back(path.substr(start, end - start));
        if (!usableLevel(levels.back()))
            return std::nullopt;
    }
    return levels;
}

const MemorySettingsStore::Key *MemorySettingsStore::find(const std::string &keyPath) const
{
    const auto levels = levelsOf(keyPath);
    if (!levels)
        return nullptr;
    if (levels->empty() && !m_keys.contains("\\"))
        return nullptr;
    const auto key = m_keys.find(lowerCase(joined(*levels, levels->size())));
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
        changed();
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
    const Key *found = find(keyPath);
    if (!found)
        return false;
    Key &key = m_keys.find(lowerCase(found->path))->second;
    const auto [entry, inserted] = key.values.try_emplace(lowerCase(name), NamedValue{name, value});
    if (!inserted)
        entry->second.value = std::move(value);
    changed();
    return true;
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
