#pragma once

// Settings held in memory only: for tests, and the base of FileSettingsStore.

#include "SettingsStore.h"

#include <cstddef>
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

    // Bounds far beyond any setting a program keeps, so that a damaged file costs little to
    // read. A key deeper or a name or text longer is refused, by reads and writes alike: the
    // store never holds a setting that its file could not give back.
    static constexpr std::size_t maxKeyDepth = 32;
    static constexpr std::size_t maxKeyPathSize = 1024; // each value line looks its key up
    static constexpr std::size_t maxNameSize = 4096;
    static constexpr std::size_t maxTextSize = 65536;

    // One change that reached the store: a key created, or a value written into its key.
    struct Change
    {
        std::string keyPath;
        std::optional<NamedValue> written; // nothing when a key was created
    };

    // Makes a change here as its createKey and write would.
    void apply(const Change &change);

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
    // cannot name a key or is beyond the bounds above. The root, "\" or "", has no levels.
    static std::optional<std::vector<std::string>> levelsOf(const std::string &keyPath);

protected:
    // Called after every change that reached the store, with what changed.
    virtual void changed(const Change &) {}

private:
    // The map's key for a path that names a key.
    static std::string folded(const std::string &keyPath);
    const Key *find(const std::string &keyPath) const;
    bool write(const std::string &keyPath, const std::string &name, Value value);
    template <class T>
    SettingRead<T> read(const std::string &keyPath, const std::string &name) const;

    std::map<std::string, Key> m_keys; // by lower-case path; the root is always there
};
