#pragma once

// The design tree the core owns: the command-line tool works on it, and the editor's tree
// view shows it through an observer, so there is one tree and never a second copy edited on
// its own. Absolute
// indexes, depths and sibling positions come from a depth-first table that is rebuilt
// lazily after a change; appending in depth-first order keeps it valid, so building a
// tree of any size from a file stays linear. Nothing recurses: a file may nest deeply.

#include "DesignTree.h"
#include "DesignTreeObserver.h"

#include <memory>
#include <string>
#include <vector>

class InMemoryDesignTree : public DesignTree
{
public:
    explicit InMemoryDesignTree(std::string rootCaption = "Velloria");
    ~InMemoryDesignTree() override;
    InMemoryDesignTree(const InMemoryDesignTree &) = delete;
    InMemoryDesignTree &operator=(const InMemoryDesignTree &) = delete;

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
    bool moveTo(Node node, Node parent, int position) override;
    void deleteNode(Node node) override;
    int position(Node node) const override;

    // Told of every change after it is made (and of a deletion just before), so a view
    // can follow. nullptr stops the reports, as while a whole tree is rebuilt.
    void setObserver(DesignTreeObserver *observer) { m_observer = observer; }

    const std::string &caption(Node node) const override;
    void setCaption(Node node, const std::string &caption) override;

private:
    struct Entry : DesignTree::NodeData
    {
        std::string caption;
        Entry *parent = nullptr;
        std::vector<Entry *> children;
        int index = 0;    // depth-first position, valid while the table is
        int depth = 0;    // likewise
        int position = 0; // position among the parent's children, likewise
    };

    static Entry *entry(Node node) { return static_cast<Entry *>(node); }
    void reindex() const;
    void ensureIndexed() const;
    bool appendsInOrder(const Entry *parent) const;
    static void detach(Entry *node);
    static void destroySubtree(Entry *node);

    Entry *m_root;
    mutable std::vector<Entry *> m_order;
    mutable bool m_dirty = false;
    DesignTreeObserver *m_observer = nullptr;
};
