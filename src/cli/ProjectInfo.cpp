#include "ProjectInfo.h"

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

std::string jsonText(const std::string &value)
{
    // Values are the stored bytes; text that is not UTF-8 is shown with replacement marks.
    return ordered_json(value).dump(-1, ' ', false, ordered_json::error_handler_t::replace);
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

} // namespace

void printProjectText(std::ostream &out, const TzybAppletAgent &agent,
                      const InMemoryDesignTree &tree)
{
    const TAppletData data = agent.GetAppletData();
    out << "Parameters:\n";
    for (std::size_t k = 0; k < TAppletData::fieldCount; ++k)
        out << "  " << TAppletData::fieldNames[k] << ": " << data.*TAppletData::fields[k] << '\n';
    out << "Items: " << agent.itemCount() << '\n';
    for (int i = 0; i < agent.itemCount(); ++i) {
        const TItemData &item = agent.items()[static_cast<std::size_t>(i)];
        out << "  Item " << i << ":\n";
        for (std::size_t k = 0; k < TItemData::fieldCount; ++k)
            out << "    " << TItemData::fieldNames[k] << ": " << item.*TItemData::fields[k] << '\n';
    }
    out << "Tree:\n";
    for (int n = 0; n < tree.count(); ++n) {
        const DesignTree::Node node = tree.nodeAt(n);
        out << std::string(2 * static_cast<std::size_t>(tree.depth(node) + 1), ' ')
            << tree.caption(node) << '\n';
    }
}

std::string projectJson(const TzybAppletAgent &agent, const InMemoryDesignTree &tree)
{
    ordered_json project;
    project["parameters"] = recordJson(agent.GetAppletData());
    project["items"] = ordered_json::array();
    for (const TItemData &item : agent.items())
        project["items"].push_back(recordJson(item));
    std::string text = project.dump(-1, ' ', false, ordered_json::error_handler_t::replace);
    text.pop_back(); // the closing brace: the tree follows
    text += ",\"tree\":";
    writeTreeJson(text, tree);
    return text + '}';
}
