#include "ProjectInfo.h"

#include "generate/OriginalPicture.h"
#include "generate/ShowField.h"
#include "generate/TextEscaping.h"
#include "model/TextUtil.h"
#include "platform/VelloriaError.h"

#include <filesystem>
#include <iomanip>
#include <nlohmann/json.hpp>
#include <ostream>

namespace {

using nlohmann::ordered_json;

template <typename Record> ordered_json recordJson(const Record &record)
{
    ordered_json object = ordered_json::object();
    for (std::size_t k = 0; k < Record::fieldCount; ++k)
        object[std::string(Record::fieldNames[k])] = record.*Record::fields[k];
    return object;
}

// Values are the stored bytes; text that is not UTF-8 is shown with replacement marks.
std::string dumped(const ordered_json &json);

std::string jsonText(const std::string &value)
{
    return dumped(ordered_json(value));
}

// Written by hand with an explicit stack: a project file may nest items deeper than any
// recursive writer could follow.
void writeTreeJson(std::string &out, const InMemoryDesignTree &tree)
{
    out += '[';
    int previousDepth = 0;
    for (int n = 1; n < tree.count(); ++n) {
        const DesignTree::Node node = tree.nodeAt(n);
        const int depth = tree.depth(node);
        for (int d = previousDepth; d >= depth; --d)
            out += d == depth ? "]}," : "]}";
        out += "{\"caption\":" + jsonText(tree.caption(node)) + ",\"children\":[";
        previousDepth = depth;
    }
    for (int d = previousDepth; d >= 1; --d)
        out += "]}";
    out += ']';
}

const char *pictureState(const TItemData &item)
{
    const std::string path = trimmed(item.IOriginalImagePath);
    if (path.empty())
        return "none";
    // The build's own check: a folder or a pipe at the path is no picture.
    try {
        return originalPictureAt(path) == OriginalPicture::present ? "present" : "missing";
    } catch (const VelloriaError &) {
        return "not a file";
    }
}

std::string pictureFileName(const TItemData &item)
{
    const std::string path = trimmed(item.IOriginalImagePath);
    return path.empty() ? "(no picture)"
                        : escapeForTerminal(std::filesystem::path(path).filename().string());
}

void printShow(std::ostream &out, const TAppletData &data)
{
    out << "Slide show:\n";
    for (const ShowField &field : showFields()) {
        // Stored values are shown escaped: a project must not retitle or clear the terminal.
        const std::string value = escapeForTerminal(shownValue(field, data));
        const std::string meaning = escapeForTerminal(meaningOf(field, data));
        out << "  " << std::left << std::setw(14) << field.name;
        if (meaning.empty())
            out << value << '\n';
        else
            out << std::setw(15) << value << ' ' << meaning << '\n';
    }
}

void printItems(std::ostream &out, const TzybAppletAgent &agent)
{
    out << "Items: " << agent.itemCount() << '\n';
    for (int i = 0; i < agent.itemCount(); ++i) {
        const TItemData &item = agent.items()[static_cast<std::size_t>(i)];
        out << "  " << i + 1 << "  picture: ";
        if (trimmed(item.IOriginalImagePath).empty())
            out << "none\n";
        else
            out << escapeForTerminal(item.IOriginalImagePath) << " (" << pictureState(item)
                << ")\n";
        out << "     link: " << escapeForTerminal(item.ILink)
            << "  target: " << escapeForTerminal(item.ITarget)
            << "  tooltip: " << escapeForTerminal(item.IToolTip) << '\n';
        if (!item.IImageFileName.empty())
            out << "     slide: " << escapeForTerminal(item.IImageFileName) << ", "
                << escapeForTerminal(item.IWidth) << " x " << escapeForTerminal(item.IHeight)
                << '\n';
    }
}

// Node N of the tree is item N.
void printTree(std::ostream &out, const TzybAppletAgent &agent, const InMemoryDesignTree &tree)
{
    out << "Tree:\n  " << escapeForTerminal(tree.caption(tree.root())) << '\n';
    for (int n = 1; n < tree.count() && n <= agent.itemCount(); ++n) {
        const DesignTree::Node node = tree.nodeAt(n);
        out << std::string(2 * static_cast<std::size_t>(tree.depth(node) + 1), ' ') << n << "  "
            << pictureFileName(agent.items()[static_cast<std::size_t>(n - 1)]) << '\n';
    }
}

ordered_json showJson(const TAppletData &data)
{
    ordered_json show = ordered_json::object();
    for (const ShowField &field : showFields())
        show[std::string(field.name)] = shownValue(field, data);
    return show;
}

ordered_json picturesJson(const TzybAppletAgent &agent)
{
    ordered_json pictures = ordered_json::array();
    for (int i = 0; i < agent.itemCount(); ++i) {
        const TItemData &item = agent.items()[static_cast<std::size_t>(i)];
        pictures.push_back(
            {{"item", i + 1}, {"path", item.IOriginalImagePath}, {"state", pictureState(item)}});
    }
    return pictures;
}

std::string dumped(const ordered_json &json)
{
    return json.dump(-1, ' ', false, ordered_json::error_handler_t::replace);
}

} // namespace

void printProjectText(std::ostream &out, const TzybAppletAgent &agent,
                      const InMemoryDesignTree &tree)
{
    printShow(out, agent.GetAppletData());
    printItems(out, agent);
    printTree(out, agent, tree);
}

// The keys "parameters", "items" and "tree" stay as readers know them; what came later
// follows them as keys of its own.
std::string projectJson(const TzybAppletAgent &agent, const InMemoryDesignTree &tree)
{
    ordered_json project;
    project["parameters"] = recordJson(agent.GetAppletData());
    project["items"] = ordered_json::array();
    for (const TItemData &item : agent.items())
        project["items"].push_back(recordJson(item));
    std::string text = dumped(project);
    text.pop_back(); // the closing brace: the tree follows
    text += ",\"tree\":";
    writeTreeJson(text, tree);
    text += ",\"show\":" + dumped(showJson(agent.GetAppletData()));
    text += ",\"pictures\":" + dumped(picturesJson(agent));
    return text + '}';
}
