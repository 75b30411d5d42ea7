#include "TreeWidgetDesignTree.h"

#include "QtText.h"

#include <QTreeWidget>

namespace {

TreeWidgetDesignTree::TreeNode *nodeOf(QTreeWidgetItem *item)
{
    return static_cast<TreeWidgetDesignTree::TreeNode *>(item);
}

} // namespace

TreeWidgetDesignTree::TreeWidgetDesignTree(QTreeWidget &widget) : m_widget(widget)
{
    if (m_widget.topLevelItemCount() == 0)
        m_widget.addTopLevelItem(new TreeNode(QStringList(QStringLiteral("Velloria"))));
}

// Without recursion: a file may nest its items deeply.
void TreeWidgetDesignTree::renewOrder() const
{
    if (m_orderValid)
        return;
    m_order.clear();
    m_index.clear();
    std::vector<QTreeWidgetItem *> pending;
    for (int i = m_widget.topLevelItemCount(); i > 0; --i)
        pending.push_back(m_widget.topLevelItem(i - 1));
    while (!pending.empty()) {
        QTreeWidgetItem *item = pending.back();
        pending.pop_back();
        m_index[nodeOf(item)] = static_cast<int>(m_order.size());
        m_order.push_back(nodeOf(item));
        for (int i = item->childCount(); i > 0; --i)
            pending.push_back(item->child(i - 1));
    }
    m_orderValid = true;
}

int TreeWidgetDesignTree::count() const
{
    renewOrder();
    return static_cast<int>(m_order.size());
}

DesignTree::Node TreeWidgetDesignTree::nodeAt(int absoluteIndex) const
{
    renewOrder();
    if (absoluteIndex < 0 || absoluteIndex >= static_cast<int>(m_order.size()))
        return nullptr;
    return m_order[static_cast<std::size_t>(absoluteIndex)];
}

int TreeWidgetDesignTree::absoluteIndex(Node node) const
{
    renewOrder();
    const auto found = m_index.find(node);
    return found == m_index.end() ? -1 : found->second;
}

int TreeWidgetDesignTree::depth(Node node) const
{
    int depth = 0;
    for (QTreeWidgetItem *up = item(node)->parent(); up; up = up->parent())
        ++depth;
    return depth;
}

DesignTree::Node TreeWidgetDesignTree::parent(Node node) const
{
    QTreeWidgetItem *up = item(node)->parent();
    return up ? nodeOf(up) : nullptr;
}

DesignTree::Node TreeWidgetDesignTree::previousSibling(Node node) const
{
    QTreeWidgetItem *up = item(node)->parent();
    if (!up)
        return nullptr;
    const int position = up->indexOfChild(item(node));
    return position > 0 ? nodeOf(up->child(position - 1)) : nullptr;
}

DesignTree::Node TreeWidgetDesignTree::nextSibling(Node node) const
{
    QTreeWidgetItem *up = item(node)->parent();
    if (!up)
        return nullptr;
    const int position = up->indexOfChild(item(node));
    return position + 1 < up->childCount() ? nodeOf(up->child(position + 1)) : nullptr;
}

int TreeWidgetDesignTree::childCount(Node node) const
{
    return item(node)->childCount();
}

DesignTree::Node TreeWidgetDesignTree::child(Node node, int position) const
{
    QTreeWidgetItem *it = item(node);
    return position >= 0 && position < it->childCount() ? nodeOf(it->child(position)) : nullptr;
}

// A child added last to the last node in the order is the new last node: the order grows
// by one instead of being walked again, which keeps loading a long project linear.
DesignTree::Node TreeWidgetDesignTree::addChild(Node parentNode, const std::string &caption)
{
    auto *added = new TreeNode(QStringList(toQString(caption)));
    const bool appends = m_orderValid && endsWithSubtreeOf(parentNode);
    item(parentNode)->addChild(added);
    if (appends) {
        m_index[added] = static_cast<int>(m_order.size());
        m_order.push_back(added);
    } else {
        m_orderValid = false;
    }
    return added;
}

bool TreeWidgetDesignTree::endsWithSubtreeOf(Node node) const
{
    if (m_order.empty())
        return false;
    for (QTreeWidgetItem *up = m_order.back(); up; up = up->parent())
        if (up == item(node))
            return true;
    return false;
}

void TreeWidgetDesignTree::moveBefore(Node node, Node before)
{
    QTreeWidgetItem *moved = item(node);
    QTreeWidgetItem *up = moved->parent();
    const bool expanded = moved->isExpanded();
    up->takeChild(up->indexOfChild(moved));
    up->insertChild(up->indexOfChild(item(before)), moved);
    moved->setExpanded(expanded);
    m_orderValid = false;
}

// Taking a node out may move the widget's selection, whose handlers ask the tree again
// while the node is on its way out: the order is renewed once it is gone.
void TreeWidgetDesignTree::deleteNode(Node node)
{
    QTreeWidgetItem *gone = item(node);
    m_orderValid = false;
    if (QTreeWidgetItem *up = gone->parent())
        up->takeChild(up->indexOfChild(gone));
    m_orderValid = false;
    delete gone;
    m_orderValid = false;
}

void TreeWidgetDesignTree::setCaption(Node node, const std::string &caption)
{
    item(node)->setText(0, toQString(caption));
}
