#include "UserSettings.h"

#include <exception>

bool readFlag(const SettingsStore &store, const std::string &name, bool missingMeans)
{
    const SettingRead<std::int32_t> read = store.readNumber(usersettings::settingsKey, name);
    return read.found() ? read.value != 0 : missingMeans;
}

// A store whose file cannot be written still holds the change for this run, so each step
// goes on after a failed write; the result says whether the file kept it too.
bool openWithCreation(SettingsStore &store, const std::string &leafKey)
{
    bool kept = true;
    for (const std::string &key :
         {std::string(usersettings::companyKey), std::string(usersettings::versionKey), leafKey}) {
        try {
            store.createKey(key);
        } catch (const std::exception &) {
            kept = false;
        }
        if (!store.openKey(key))
            return false;
    }
    return kept;
}

bool writeFlag(SettingsStore &store, const std::string &name, bool value)
{
    bool kept = openWithCreation(store, usersettings::settingsKey);
    if (!store.openKey(usersettings::settingsKey))
        return false;
    try {
        kept = store.writeNumber(usersettings::settingsKey, name, value ? 1 : 0) && kept;
    } catch (const std::exception &) {
        kept = false;
    }
    return kept;
}

bool readShowFlag(const SettingsStore &store, const std::string &name)
{
    const SettingRead<std::int32_t> read = store.readNumber(usersettings::settingsKey, name);
    using Status = SettingRead<std::int32_t>::Status;
    return read.status == Status::value ? read.value != 0 : read.status != Status::wrongType;
}
