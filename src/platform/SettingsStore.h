#pragma once

// Per-user settings kept the way a hierarchical registry keeps them: keys named by paths
// such as "\Software\ZYB\Velloria\1.0\Settings", each holding named values that are 32-bit
// numbers or text. Key and value names compare without regard to ASCII letter case and keep
// the spelling they were first written with.

#include <cstdint>
#include <string>

// What a read found. `value` holds the setting only when status is Status::value.
template <class T> struct SettingRead
{
    enum class Status { value, noKey, missing, wrongType };
    Status status = Status::noKey;
    T value{};

    bool found() const { return status == Status::value; }
    T valueOr(const T &fallback) const { return found() ? value : fallback; }
};

class SettingsStore
{
public:
    virtual ~SettingsStore() = default;

    // True when the key exists; nothing is created.
    virtual bool openKey(const std::string &keyPath) const = 0;
    // Makes sure the key exists, creating it and every missing level above it. False only for
    // a path that cannot name a key (an empty level, a control character).
    virtual bool createKey(const std::string &keyPath) = 0;

    virtual SettingRead<std::int32_t> readNumber(const std::string &keyPath,
                                                 const std::string &name) const = 0;
    virtual SettingRead<std::string> readText(const std::string &keyPath,
                                              const std::string &name) const = 0;

    // Both replace a value of either type. They return false, changing nothing, when the key
    // was never created: a writer opens its key with creation first.
    virtual bool writeNumber(const std::string &keyPath, const std::string &name,
                             std::int32_t value) = 0;
    virtual bool writeText(const std::string &keyPath, const std::string &name,
                           const std::string &value) = 0;
};
