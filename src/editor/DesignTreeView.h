#pragma once

// The window's tree widget as a view of the core's design tree. It follows every change the
// tree reports and never changes the tree itself; the commands do, and the window selects
// what they name. Nothing here recurses, and items are removed leaf by leaf, because a
// project may nest its items 150,000 levels deep and Qt's own item destructor recurses.
// An item's file name, icon and tooltip are asked of its original only when a row is painted,
// so a project of thousands of items opens as fast as one of a few.

#include "model/DesignTreeObserver.h"
#include "model/InMemoryDesignTree.h"

#include <QHash>
#include <QIcon>
#include <QMetaObject>
#include <QTreeWidgetItem>
#include <functional>
#include <string>
#include <unordered_map>
#include <utility>

class PictureLoader;
class QTreeWidget;

// An item's original and the height of the show's slides, as the view shows them.
struct ItemOriginal
{
    std::string path;
    int slideHeight = 0;
};

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
    // Shows each item's original from loader: a small picture as its icon, the file name
    // after its caption, the full path and sizes in its tooltip. originalOf names an item's
    // original; it is asked while rows are painted, never while the view is paused.
    void showOriginals(PictureLoader &loader,
                       std::function<ItemOriginal(DesignTree::Node)> originalOf);
    // The items' originals may have changed: the rows show them anew when next painted.
    void refresh();

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
        NodeItem(const DesignTreeView &v, DesignTree::Node n, const QString &caption)
            : QTreeWidgetItem(QStringList(caption)), view(v), node(n)
        {}
        // The caption stays the item's own text; the original is added as it is shown.
        QVariant data(int column, int role) const override;
        const DesignTreeView &view;
        DesignTree::Node node;
    };

    NodeItem *makeItem(DesignTree::Node node);
    bool showsOriginalOf(DesignTree::Node node) const;
    QVariant originalData(const NodeItem &item, int role) const;
    qreal ratio() const;
    QIcon filled(QPixmap picture) const;
    void placeItem(QTreeWidgetItem *item, DesignTree::Node node);
    // Takes item out of its parent and deletes its subtree leaf by leaf.
    void destroy(QTreeWidgetItem *item);

    QTreeWidget &m_widget;
    InMemoryDesignTree &m_tree;
    std::unordered_map<DesignTree::Node, NodeItem *> m_items;
    QIcon m_rootPicture, m_itemPicture;
    std::pair<QIcon, QIcon> m_givenPictures;
    mutable QHash<qint64, QIcon> m_filledIcons; // by the picture's cache key
    PictureLoader *m_loader = nullptr;
    std::function<ItemOriginal(DesignTree::Node)> m_originalOf;
    QMetaObject::Connection m_pictureMade;
    bool m_following = false; // the items' nodes are the tree's: not while paused
};
