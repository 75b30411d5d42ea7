// Reading and writing project files.

#include "ProjectFileReader.h"
#include "ProjectFileWriter.h"
#include "TzybAppletAgent.h"
#include "platform/FileIO.h"

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
