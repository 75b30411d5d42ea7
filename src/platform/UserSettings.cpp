#include "UserSettings.h"

#include <exception>

bool readFlag(const SettingsStore &store, const std::string &name, bool missingMeans)
{
    const SettingRead<std::int32_t> read = store.readNumber(usersettings::settingsKey, name);
    return read.found() ? read.value != 0 : missingMeans;
}

void writeFlag(SettingsStore &store, const std::string &name, bool value)
{
    // A store whose file cannot be written still holds the change for this run, so each
    // step goes on after a failed write.
    for (const char *key :
         {usersettings::companyKey, usersettings::versionKey, usersettings::settingsKey}) {
        try {
            store.createKey(key);
        } catch (const std::exception &) {
        }
        if (!store.openKey(key))
            return;
    }
    try {
        store.writeNumber(usersettings::settingsKey, name, value ? 1 : 0);
    } catch (const std::exception &) {
    }
}

bool readShowFlag(const SettingsStore &store, const std::string &name)
{
    const SettingRead<std::int32_t> read = store.readNumber(usersettings::settingsKey, name);
    using Status = SettingRead<std::int32_t>::Status;
    return read.status == Status::value ? read.value != 0 : read.status != Status::wrongType;
}

bool tryWriteFlag(SettingsStore &store, const std::string &name, bool value)
{
    try {
        return store.createKey(usersettings::companyKey) &&
               store.createKey(usersettings::versionKey) &&
               store.createKey(usersettings::settingsKey) &&
               store.writeNumber(usersettings::settingsKey, name, value ? 1 : 0);
    } catch (const std::exception &) {
        return false;
    }
}
