// Reading and writing project files.

#include "ProjectFileReader.h"
#include "ProjectFileWriter.h"
#include "TextUtil.h"
#include "TzybAppletAgent.h"
#include "platform/FileIO.h"
#include "platform/VelloriaError.h"

namespace {

const std::string projectExtension = ".jfs";

// "show.JFS" keeps its spelling: on a system that tells letter case apart, writing
// "show.jfs" beside it would leave the file the user chose stale.
std::string projectFileName(const std::string &name, const std::string &fileName)
{
    const std::size_t n = projectExtension.size();
    if (fileName.size() > n &&
        equalIgnoringCase(fileName.substr(fileName.size() - n), projectExtension))
        return name + fileName.substr(fileName.size() - n);
    return name + projectExtension;
}

} // namespace

std::string TzybAppletAgent::publishedName(const std::string &fileName)
{
    const auto dot = fileName.rfind('.');
    std::string name = dot == std::string::npos
                           ? fileName
                           : replacedIgnoringCase(fileName, fileName.substr(dot), "");
    // ".jfs" alone would give hidden files with no name; refuse it before writing anything.
    if (name.empty())
        throw VelloriaError("The file name \"" + fileName + "\" leaves no name for the project.");
    return name;
}

std::string TzybAppletAgent::projectFileName(const std::string &fileName)
{
    return ::projectFileName(publishedName(fileName), fileName);
}

void TzybAppletAgent::SaveToFile(const std::string &fileName) const
{
    ProjectFileWriter(AppletData, Items, *m_progress).save(fileName);
}

LoadResult TzybAppletAgent::LoadFromFile(const std::string &fileName, DesignTree &tree)
{
    std::string text;
    try {
        text = fileio::readFile(fileName);
    } catch (...) {
        finishLoad(tree);
        throw;
    }
    return loadFromText(text, tree);
}

LoadResult TzybAppletAgent::loadFromText(std::string_view text, DesignTree &tree)
{
    LoadResult result;
    try {
        ProjectFileContent content = ProjectFileReader(text, *m_progress).read();
        result = applyLoaded(content);
    } catch (...) {
        finishLoad(tree);
        throw;
    }
    finishLoad(tree);
    return result;
}

// Rebuilds the tree from whatever the list holds now, so that tree and list agree on every
// way out of a load, a failed one included.
void TzybAppletAgent::finishLoad(DesignTree &tree)
{
    resetTree(tree);
    BuildTreeFromLevels(tree);
    m_progress->resetPosition();
    m_progress->clearStatus();
    m_progress->setBusy(false);
}

LoadResult TzybAppletAgent::applyLoaded(ProjectFileContent &content)
{
    using End = ProjectFileContent::End;
    switch (content.end) {
    case End::NoProject:
        return LoadResult::NoProject;
    case End::Foreign:
        if (m_messages)
            m_messages->showError("This file wasn't saved by Velloria 1.0, open failed!");
        return LoadResult::Refused;
    case End::BeforeItemSection:
    case End::InsideItemSection:
    case End::Complete:
        break;
    }
    AppletData = std::move(*content.parameters);
    // A file without an item section holds no items: keeping the previous project's items
    // under the new parameters would mix two projects.
    Items = std::move(content.items);
    if (content.end == End::BeforeItemSection)
        return LoadResult::NoItemList;
    return content.end == End::Complete ? LoadResult::Loaded : LoadResult::Incomplete;
}

void TzybAppletAgent::resetTree(DesignTree &tree)
{
    const DesignTree::Node root = tree.root();
    for (int n = tree.childCount(root); n > 0; --n)
        tree.deleteNode(tree.child(root, n - 1));
}
