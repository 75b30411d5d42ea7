// Settings behave as the registry the editor's callers were written against, and the file
// behind them survives odd text, damage and failed writes.

#include "common/TempFolder.h"
#include "platform/FileSettingsStore.h"
#include "platform/UserSettings.h"
#include "platform/VelloriaError.h"

#include <climits>
#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <thread>

namespace {

using Value = MemorySettingsStore::Value;
using Status = SettingRead<std::int32_t>::Status;
const std::string key = usersettings::settingsKey;

void write(SettingsStore &store, const std::string &name, const Value &value)
{
    if (const auto *number = std::get_if<std::int32_t>(&value))
        EXPECT_TRUE(store.writeNumber(key, name, *number));
    else
        EXPECT_TRUE(store.writeText(key, name, std::get<std::string>(value)));
}

// The value as read, "wrong type" also checked for the other kind of read.
std::optional<Value> readBack(const SettingsStore &store, const std::string &name)
{
    const auto number = store.readNumber(key, name);
    const auto text = store.readText(key, name);
    if (number.found() && text.status == SettingRead<std::string>::Status::wrongType)
        return number.value;
    if (text.found() && number.status == Status::wrongType)
        return text.value;
    return std::nullopt;
}

struct RoundTrip
{
    std::string name;
    Value value;
};

class SettingsRoundTrip : public ::testing::TestWithParam<RoundTrip>
{};

TEST_P(SettingsRoundTrip, aSecondStoreReadsWhatTheFirstWrote)
{
    TempFolder folder;
    const auto file = folder.path() / "config" / "velloria" / "settings";
    {
        FileSettingsStore first(file);
        ASSERT_TRUE(first.createKey(key));
        write(first, "Before", 7);
        write(first, GetParam().name, GetParam().value);
        write(first, "After", "end");
    }
    const FileSettingsStore second(file);
    EXPECT_EQ(readBack(second, GetParam().name), GetParam().value) << readBytes(file.string());
    EXPECT_EQ(readBack(second, "before"), Value(7));
    EXPECT_EQ(readBack(second, "AFTER"), Value("end"));
}

INSTANTIATE_TEST_SUITE_P(
    FileSettings, SettingsRoundTrip,
    ::testing::Values(RoundTrip{"Zero", 0}, RoundTrip{"Minus", -1}, RoundTrip{"Lowest", INT32_MIN},
                      RoundTrip{"Highest", INT32_MAX}, RoundTrip{"Empty", ""},
                      RoundTrip{"Equals", "a=b=c"}, RoundTrip{"Section", "[\\Software\\Other]"},
                      RoundTrip{"Path", "C:\\site\\"}, RoundTrip{"Escapes", "\\n\\x41\\\\"},
                      RoundTrip{"Lines", "one\r\ntwo\nthree\r"},
                      RoundTrip{"Controls", std::string("\t\x01\x7f\0z", 5)},
                      RoundTrip{"Unicode", "Caf\xC3\xA9 \xE2\x98\x83"},
                      RoundTrip{"[Name=odd\\\n", "value"}, RoundTrip{"", "the default value"},
                      RoundTrip{"Blanks", "  padded  "}));

TEST(SettingsStore, readsTellNoKeyMissingWrongTypeAndValue)
{
    MemorySettingsStore store;
    ASSERT_TRUE(store.createKey(key));
    ASSERT_TRUE(store.writeNumber(key, "Number", -1));
    ASSERT_TRUE(store.writeText(key, "Text", "1"));
    struct Case
    {
        std::string key, name;
        Status number, text;
    };
    const Case cases[] = {
        {key, "Number", Status::value, Status::wrongType},
        {"\\SOFTWARE\\zyb\\VELLORIA\\1.0\\settings", "nUMBER", Status::value, Status::wrongType},
        {key, "Text", Status::wrongType, Status::value},
        {key, "Other", Status::missing, Status::missing},
        {usersettings::webBrowsersKey, "Number", Status::noKey, Status::noKey},
        {key + "\\Deeper", "Number", Status::noKey, Status::noKey},
        {"\\Software\\ZYB\\Velloria\\1.0\\Set", "Number", Status::noKey, Status::noKey},
        {"\\Software\\\\ZYB", "Number", Status::noKey, Status::noKey},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.key + " " + c.name);
        EXPECT_EQ(store.readNumber(c.key, c.name).status, c.number);
        EXPECT_EQ(int(store.readText(c.key, c.name).status), int(c.text));
    }
    EXPECT_EQ(store.readNumber(key, "number").value, -1);
}

TEST(SettingsStore, keysAreCreatedLevelByLevelAndKeepTheirFirstSpelling)
{
    TempFolder folder;
    const auto file = folder.path() / "settings";
    {
        FileSettingsStore store(file);
        EXPECT_FALSE(store.writeNumber(key, "Flag", 1)) << "a key never created";
        EXPECT_FALSE(store.openKey(usersettings::companyKey));
        ASSERT_TRUE(store.createKey(usersettings::companyKey));
        ASSERT_TRUE(store.createKey("\\software\\zyb\\Velloria\\1.0"));
        EXPECT_TRUE(store.openKey("\\SOFTWARE\\ZYB\\VELLORIA")) << "the level in between";
        EXPECT_FALSE(store.openKey(key));
        EXPECT_FALSE(store.createKey(key + "\\"));
        ASSERT_TRUE(store.createKey(usersettings::settingsKey));
        ASSERT_TRUE(store.writeText(key, "Flag", "text first"));
        ASSERT_TRUE(store.writeNumber(key, "FLAG", 1));
    }
    EXPECT_EQ(readBytes(file.string()), "[\\Software]\n"
                                        "\n[\\Software\\ZYB]\n"
                                        "\n[\\Software\\ZYB\\Velloria]\n"
                                        "\n[\\Software\\ZYB\\Velloria\\1.0]\n"
                                        "\n[\\Software\\ZYB\\Velloria\\1.0\\Settings]\n"
                                        "Flag=number:1\n");
    const FileSettingsStore again(file);
    EXPECT_TRUE(again.openKey("\\Software\\ZYB\\Velloria")) << "an empty key survives";
    EXPECT_TRUE(readFlag(again, "flag", false));
}

TEST(SettingsStore, aDamagedFileReadsAsTheSettingsOfItsGoodLines)
{
    struct Case
    {
        std::string text;
        std::vector<std::pair<std::string, Value>> found;
    };
    const std::string section = "[" + key + "]\r\n";
    const Case cases[] = {
        {"", {}},
        {"A=number:1\n" + section + "B=number:2", {{"B", 2}}},
        {section + "garbage\n=\n[\nC=number:\nD=number:1x\nE=number:99999999999\nF=text:\\q\n"
                   "G=text:ok\\\nH=blob:1\nI=text:fine",
         {{"I", "fine"}}},
        {section + "J=number:4294967295\nK=number:+1\nL=text:a\\x4", {{"J", -1}}},
        {section + "M=text:tr", {{"M", "tr"}}},
        {"[\\Software\\ZY", {}},
        {"[\\A\\\\B]\nN=number:1\n" + section + "O=number:2\n[\\\x01]\nP=number:3", {{"O", 2}}},
        {std::string("\0\xff\xfe[\0]\n\x89PNG\r\n\x1a\n", 15) + section + "Q=text:\xff\x00",
         {{"Q", "\xff"}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        TempFolder folder;
        writeBytes(folder.file("settings"), c.text);
        std::optional<FileSettingsStore> store;
        ASSERT_NO_THROW(store.emplace(folder.path() / "settings"));
        const std::string names[] = {"A", "B", "C", "D", "E", "F", "G", "H", "I",
                                     "J", "K", "L", "M", "N", "O", "P", "Q"};
        for (const std::string &name : names) {
            const auto expected = std::find_if(c.found.begin(), c.found.end(),
                                               [&](const auto &f) { return f.first == name; });
            EXPECT_EQ(readBack(*store, name),
                      expected == c.found.end() ? std::nullopt : std::optional(expected->second))
                << name;
        }
    }
}

std::string times(std::string_view piece, std::size_t count)
{
    std::string text;
    for (std::size_t i = 0; i < count; ++i)
        text += piece;
    return text;
}

// Damaged files that once cost the start seconds and gigabytes, or killed it: each loads at
// once with its good lines (A and B), and without its bad ones (X).
TEST(SettingsStore, aDamagedFileLoadsFastWithItsGoodLines)
{
    const std::string a = "[" + key + "]\nA=number:1\n", b = "\n[" + key + "]\nB=text:b\n";
    const std::string junk = times(std::string("\0\xff[\x89=X\r\n\x1a]", 10), 30'000);
    const std::pair<const char *, std::string> cases[] = {
        {"a key 200,000 levels deep", a + "[" + times("\\a", 200'000) + "]\nX=number:2" + b},
        {"a huge name and text",
         a + times("X", 100'000) + "=number:1\nX=text:" + times("v", 70'000) + b},
        {"many values under the longest key", "[" + times("\\" + std::string(31, 'k'), 32) + "]\n" +
                                                  times("X=number:1\n", 90'000) + a + b},
        {"cut lines", a + "X=text:ab\\x4\nX=numb\n[\\Software\\Z" + b + "[\\Sof"},
        {"binary junk", a + junk + b + junk},
        {"beyond the first megabyte",
         a + b + times("j", FileSettingsStore::maxFileSize) + "\nX=number:2\n"},
    };
    for (const auto &[label, text] : cases) {
        SCOPED_TRACE(label);
        TempFolder folder;
        writeBytes(folder.file("settings"), text);
        // Processor time, which other work on a busy machine does not stretch.
        const std::clock_t start = std::clock();
        const FileSettingsStore store(folder.path() / "settings");
        EXPECT_LT(double(std::clock() - start) / CLOCKS_PER_SEC, 0.5);
        EXPECT_EQ(readBack(store, "A"), Value(1));
        EXPECT_EQ(readBack(store, "B"), Value("b"));
        EXPECT_EQ(readBack(store, "X"), std::nullopt);
    }
}

// Two editors at once: a write keeps what the other wrote meanwhile; of one name, the later
// write wins.
TEST(SettingsStore, twoStoresOnOneFileKeepEachOthersWrites)
{
    TempFolder folder;
    const auto file = folder.path() / "velloria" / "settings";
    FileSettingsStore first(file), second(file);
    EXPECT_TRUE(writeFlag(first, "One", true));
    EXPECT_TRUE(writeFlag(second, "Other", true));
    EXPECT_TRUE(writeFlag(first, "Both", true));
    EXPECT_TRUE(writeFlag(second, "Both", false));
    const FileSettingsStore third(file);
    EXPECT_TRUE(readFlag(third, "One", false));
    EXPECT_TRUE(readFlag(third, "Other", false));
    EXPECT_FALSE(readFlag(third, "Both", true));
}

// Writes at the same moment are taken in turn, not lost between a read and a rename.
TEST(SettingsStore, writesAtTheSameTimeAreAllKept)
{
    TempFolder folder;
    const auto writeMany = [&](const std::string &prefix) {
        FileSettingsStore store(folder.path() / "settings");
        for (int i = 0; i < 20; ++i)
            writeFlag(store, prefix + std::to_string(i), true);
    };
    std::thread one(writeMany, "One"), other(writeMany, "Other");
    one.join();
    other.join();
    const FileSettingsStore all(folder.path() / "settings");
    for (int i = 0; i < 20; ++i)
        EXPECT_TRUE(readFlag(all, "One" + std::to_string(i), false) &&
                    readFlag(all, "Other" + std::to_string(i), false))
            << i;
}

TEST(SettingsStore, anUnreadableOrUnwritableFileIsNoCrash)
{
    TempFolder folder;
    std::filesystem::create_directory(folder.path() / "settings");
    FileSettingsStore aFolder(folder.path() / "settings");
    EXPECT_FALSE(aFolder.openKey(usersettings::companyKey));
    try {
        aFolder.createKey(key);
        ADD_FAILURE() << "a folder in the file's place was written";
    } catch (const VelloriaError &e) {
        EXPECT_NE(std::string(e.what()).find(folder.file("settings")), std::string::npos);
    }
    writeBytes(folder.file("blocker"), "");
    FileSettingsStore noFolder(folder.path() / "blocker" / "settings");
    EXPECT_NO_THROW(writeFlag(noFolder, "Tips", true));
    EXPECT_TRUE(readFlag(noFolder, "Tips", false)) << "kept for this run";
    EXPECT_FALSE(readFlag(noFolder, "Other", false));
    EXPECT_TRUE(readFlag(noFolder, "Other", true));
}

TEST(SettingsStore, theDefaultFileFollowsAnAbsoluteXdgConfigHome)
{
    const char *saved = std::getenv("XDG_CONFIG_HOME");
    const std::string restore = saved ? saved : "";
    ::setenv("XDG_CONFIG_HOME", "/somewhere/config", 1);
    EXPECT_EQ(FileSettingsStore::defaultPath(), "/somewhere/config/velloria/settings");
    ::setenv("XDG_CONFIG_HOME", "relative/config", 1);
    EXPECT_EQ(FileSettingsStore::defaultPath().parent_path().parent_path().filename(), ".config");
    saved ? ::setenv("XDG_CONFIG_HOME", restore.c_str(), 1) : ::unsetenv("XDG_CONFIG_HOME");
}

} // namespace
