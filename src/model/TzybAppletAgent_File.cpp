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
    // Rebuild the tree from whatever the list holds afterwards, even when the load fails:
    // tree and list must agree on every way out.
    auto finish = [&] {
        resetTree(tree);
        BuildTreeFromLevels(tree);
        m_progress->resetPosition();
        m_progress->clearStatus();
        m_progress->setBusy(false);
    };
    LoadResult result;
    try {
        const std::string text = fileio::readFile(fileName);
        ProjectFileContent content = ProjectFileReader(text, *m_progress).read();
        result = applyLoaded(content, fileName);
    } catch (...) {
        finish();
        throw;
    }
    finish();
    return result;
}

LoadResult TzybAppletAgent::applyLoaded(ProjectFileContent &content, const std::string &)
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
    return content.end == End::Complete ? LoadResult::Loaded : LoadResult::Incomplete;
}

void TzybAppletAgent::resetTree(DesignTree &tree)
{
    const DesignTree::Node root = tree.root();
    for (int n = tree.childCount(root); n > 0; --n)
        tree.deleteNode(tree.child(root, n - 1));
}
