// The item commands and the selection of an item.

#include "PageStore.h"
#include "ProjectCommands.h"

int ProjectCommands::itemIndexOf(DesignTree::Node node) const
{
    return m_tree.absoluteIndex(node) - 1;
}

void ProjectCommands::storeItemPage(DesignTree::Node node)
{
    const int index = itemIndexOf(node);
    if (index < 0 || index >= m_agent.itemCount())
        return;
    m_agent.SetItem(storedItemPage(m_pages.itemPage(), m_agent.GetItem(index)), index);
}

void ProjectCommands::storePages()
{
    m_agent.SetAppletData(storedAppletPages(m_pages.appletPages()));
    if (m_currentItemNode)
        storeItemPage(m_currentItemNode);
}

void ProjectCommands::insertItem(DesignTree::Node selected)
{
    setModified(true);
    if (selected)
        m_agent.insertChildItem(m_tree, selected);
}

bool ProjectCommands::isWithin(DesignTree::Node node, DesignTree::Node subtree) const
{
    for (; node; node = m_tree.parent(node))
        if (node == subtree)
            return true;
    return false;
}

void ProjectCommands::deleteItem(DesignTree::Node selected)
{
    setModified(true);
    if (!selected || selected == m_tree.root()) {
        m_prompts.showError("Root item cannot be deleted.");
        return;
    }
    if (!m_prompts.askYesNo("Are you sure to delete this item and all its children?"))
        return;
    // The page shown belongs to another item when a popup command acts on a node that was
    // right-clicked: its edits are kept before the item goes out of view.
    if (m_currentItemNode && !isWithin(m_currentItemNode, selected))
        storeItemPage(m_currentItemNode);
    m_currentItemNode = nullptr;
    m_agent.deleteItemSubtree(m_tree, selected);
}

void ProjectCommands::moveUp(DesignTree::Node selected)
{
    setModified(true);
    m_agent.moveItemUp(m_tree, selected);
}

void ProjectCommands::moveDown(DesignTree::Node selected)
{
    setModified(true);
    m_agent.moveItemDown(m_tree, selected);
}

// Selecting any item marks the project modified, even when nothing is edited.
void ProjectCommands::selectionChanged(DesignTree::Node selected)
{
    if (m_currentItemNode)
        storeItemPage(m_currentItemNode);
    if (!selected || selected == m_tree.root())
        return;
    if (selected != m_currentItemNode) {
        m_currentItemNode = selected;
        m_pages.showItem(itemPageOf(m_agent.GetItem(itemIndexOf(selected))));
    }
    setModified(true);
}
