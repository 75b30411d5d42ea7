#pragma once

// Settings held in memory only: for tests, and the base of FileSettingsStore.

#include "SettingsStore.h"

#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

class MemorySettingsStore : public SettingsStore
{
public:
    using Value = std::variant<std::int32_t, std::string>;
    struct NamedValue
    {
        std::string name;
        Value value;
    };
    struct Key
    {
        std::string path;                         // as first written
        std::map<std::string, NamedValue> values; // by lower-case name
    };

    bool openKey(const std::string &keyPath) const override;
    bool createKey(const std::string &keyPath) override;
    SettingRead<std::int32_t> readNumber(const std::string &keyPath,
                                         const std::string &name) const override;
    SettingRead<std::string> readText(const std::string &keyPath,
                                      const std::string &name) const override;
    bool writeNumber(const std::string &keyPath, const std::string &name,
                     std::int32_t value) override;
    bool writeText(const std::string &keyPath, const std::string &name,
                   const std::string &value) override;

    // Every key, parents before their children.
    std::vector<const Key *> keys() const;

    // The levels of a key path ("\A\B" and "A\B" give A, B); nothing for a path that
    // cannot name a key. The root, "\" or "", has no levels.
    static std::optional<std::vector<std::string>> levelsOf(const std::string &keyPath);

protected:
    // Called after every change that reached the store.
    virtual void changed() {}

private:
    const Key *find(const std::string &keyPath) const;
    bool write(const std::string &keyPath, const std::string &name, Value value);
    template <class T>
    SettingRead<T> read(const std::string &keyPath, const std::string &name) const;

    std::map<std::string, Key> m_keys; // by lower-case path; the root is always there
};
