#pragma once

// The window's tree widget as a view of the core's design tree. It follows every change the
// tree reports and never changes the tree itself; the commands do, and the window selects
// what they name. Nothing here recurses, and items are removed leaf by leaf, because a
// project may nest its items 150,000 levels deep and Qt's own item destructor recurses.

#include "model/DesignTreeObserver.h"
#include "model/InMemoryDesignTree.h"

#include <QIcon>
#include <QTreeWidgetItem>
#include <unordered_map>

class QTreeWidget;

class DesignTreeView : public DesignTreeObserver
{
public:
    // Shows tree in widget, whose items it owns from now on.
    DesignTreeView(QTreeWidget &widget, InMemoryDesignTree &tree);
    ~DesignTreeView() override;
    DesignTreeView(const DesignTreeView &) = delete;
    DesignTreeView &operator=(const DesignTreeView &) = delete;

    // Stops following the tree, as while a load builds a whole new one; rebuild() then
    // shows it at once and follows again.
    void pause();
    void rebuild();

    // The pictures of the root and of an item, given to every item as it is made.
    void setPictures(const QIcon &root, const QIcon &item);

    QTreeWidgetItem *itemOf(DesignTree::Node node) const;
    DesignTree::Node nodeOf(const QTreeWidgetItem *item) const;
    QTreeWidgetItem *rootItem() const;

    void nodeAdded(DesignTree::Node node) override;
    void nodeMoved(DesignTree::Node node) override;
    void nodeRemoving(DesignTree::Node node) override;
    void captionChanged(DesignTree::Node node) override;

private:
    struct NodeItem : QTreeWidgetItem
    {
        NodeItem(DesignTree::Node n, const QString &caption)
            : QTreeWidgetItem(QStringList(caption)), node(n)
        {}
        DesignTree::Node node;
    };

    NodeItem *makeItem(DesignTree::Node node);
    void placeItem(QTreeWidgetItem *item, DesignTree::Node node);
    // Takes item out of its parent and deletes its subtree leaf by leaf.
    void destroy(QTreeWidgetItem *item);

    QTreeWidget &m_widget;
    InMemoryDesignTree &m_tree;
    std::unordered_map<DesignTree::Node, NodeItem *> m_items;
    QIcon m_rootPicture, m_itemPicture;
};
