#include "TzybAppletAgent.h"

#include "DecimalText.h"

#include <algorithm>

namespace {

ProgressDisplay &silentProgress()
{
    static ProgressDisplay nothing;
    return nothing;
}

template <typename Record> TStringArray recordToStrings(const Record &record)
{
    TStringArray strings;
    strings.reserve(Record::fieldCount);
    for (auto field : Record::fields)
        strings.push_back(record.*field);
    return strings;
}

template <typename Record> Record stringsToRecord(const TStringArray &strings)
{
    Record record;
    for (std::size_t k = 0; k < Record::fieldCount && k < strings.size(); ++k)
        record.*Record::fields[k] = strings[k];
    return record;
}

// A level as the tree can take it: not a decimal integer reads as 0, and it is clamped to
// 0 .. previous + 1 so that every item finds a parent and none is lost.
int usableLevel(const std::string &text, int previous)
{
    return std::clamp(parseDecimal(text).value_or(0), 0, previous + 1);
}

} // namespace

TzybAppletAgent::TzybAppletAgent(const AppFolders &folders)
    : ScriptFileNames{"velloria.js", "velloriacfg.js", "velloria.css"}, Separator("#$@"),
      m_installFolder(folders.scratch()), m_runtimeScript(folders.runtimeScript()),
      m_preview(folders.preview()), m_progress(&silentProgress())
{}

TzybAppletAgent::TzybAppletAgent(const std::filesystem::path &installFolder)
    : TzybAppletAgent(AppFolders(installFolder))
{}

void TzybAppletAgent::setProgressDisplay(ProgressDisplay *progress)
{
    m_progress = progress ? progress : &silentProgress();
}

void TzybAppletAgent::setMessageSink(MessageSink *messages)
{
    m_messages = messages;
}

void TzybAppletAgent::SetDefaults()
{
    AppletData = TAppletData{
        "Velloria1", "Velloria1_DIV", "160", "120", "FFFFFF", "0", "30", "Velloria1Cfg", "4",
        "0",         "FFFF00",        "",    "",    "1"};
    Items.clear();
}

TItemData TzybAppletAgent::NewItemData() const
{
    TItemData item;
    item.ITarget = "_self";
    item.IWidth = "160";
    item.IHeight = "120";
    return item;
}

TItemData TzybAppletAgent::GetItem(int index) const
{
    return Items.at(static_cast<std::size_t>(index));
}

void TzybAppletAgent::SetItem(const TItemData &item, int index)
{
    Items.at(static_cast<std::size_t>(index)) = item;
}

void TzybAppletAgent::InsertItem(int index, const TItemData &item)
{
    if (index < 0 || index > itemCount())
        return;
    Items.insert(Items.begin() + index, item);
}

void TzybAppletAgent::DeleteItem(int index)
{
    if (index < 0 || index >= itemCount())
        return;
    Items.erase(Items.begin() + index);
}

void TzybAppletAgent::ExchangeWithPrevious(int index)
{
    if (index <= 0 || index >= itemCount())
        return;
    std::swap(Items[static_cast<std::size_t>(index - 1)], Items[static_cast<std::size_t>(index)]);
}

TStringArray TzybAppletAgent::AppletDataToStrings(const TAppletData &data)
{
    return recordToStrings(data);
}

TAppletData TzybAppletAgent::StringsToAppletData(const TStringArray &strings)
{
    return stringsToRecord<TAppletData>(strings);
}

TStringArray TzybAppletAgent::ItemDataToStrings(const TItemData &item)
{
    return recordToStrings(item);
}

TItemData TzybAppletAgent::StringsToItemData(const TStringArray &strings)
{
    return stringsToRecord<TItemData>(strings);
}

void TzybAppletAgent::UpdateLevelsFromTree(const DesignTree &tree)
{
    const int last = std::min(tree.count() - 1, itemCount());
    for (int k = 1; k <= last; ++k)
        Items[static_cast<std::size_t>(k - 1)].ILevel =
            std::to_string(tree.depth(tree.nodeAt(k)) - 1);
}

// The parent of an item at level L is the root for L = 0, otherwise the latest item at
// level L - 1: that is the nearest earlier item with a smaller level whenever every level
// is at most one above the one before, which usableLevel() makes sure of.
void TzybAppletAgent::BuildTreeFromLevels(DesignTree &tree) const
{
    std::vector<DesignTree::Node> latestAtLevel;
    int previous = -1;
    for (const TItemData &item : Items) {
        const int level = usableLevel(item.ILevel, previous);
        const DesignTree::Node parent =
            level == 0 ? tree.root() : latestAtLevel[static_cast<std::size_t>(level - 1)];
        latestAtLevel.resize(static_cast<std::size_t>(level) + 1);
        latestAtLevel.back() = tree.addChild(parent, "Image");
        previous = level;
    }
}
