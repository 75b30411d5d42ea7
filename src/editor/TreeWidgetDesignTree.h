#pragma once

// The design tree over the window's tree widget, so that loading, building and the item
// commands drive the real tree. Nodes are tree widget items of our own type. The tree
// keeps its depth-first order and each node's index, renewed only after a change, so
// that the model's many questions by index cost nothing and filling a long project stays
// linear.

#include "model/DesignTree.h"

#include <QTreeWidgetItem>
#include <unordered_map>
#include <vector>

class QTreeWidget;

class TreeWidgetDesignTree : public DesignTree
{
public:
    struct TreeNode : QTreeWidgetItem, DesignTree::NodeData
    {
        using QTreeWidgetItem::QTreeWidgetItem;
    };

    // Adds the root "Velloria" when the widget is empty.
    explicit TreeWidgetDesignTree(QTreeWidget &widget);

    int count() const override;
    Node nodeAt(int absoluteIndex) const override;
    int absoluteIndex(Node node) const override;
    int depth(Node node) const override;
    Node parent(Node node) const override;
    Node previousSibling(Node node) const override;
    Node nextSibling(Node node) const override;
    int childCount(Node node) const override;
    Node child(Node node, int position) const override;
    Node addChild(Node parent, const std::string &caption) override;
    void moveBefore(Node node, Node before) override;
    void deleteNode(Node node) override;
    void setCaption(Node node, const std::string &caption) override;

    static QTreeWidgetItem *item(Node node) { return static_cast<TreeNode *>(node); }
    static Node node(QTreeWidgetItem *item) { return static_cast<TreeNode *>(item); }

private:
    void renewOrder() const;
    bool endsWithSubtreeOf(Node node) const;

    QTreeWidget &m_widget;
    mutable std::vector<TreeNode *> m_order;
    mutable std::unordered_map<const NodeData *, int> m_index;
    mutable bool m_orderValid = false;
};
