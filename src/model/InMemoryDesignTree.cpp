#include "InMemoryDesignTree.h"

#include <algorithm>

InMemoryDesignTree::InMemoryDesignTree(std::string rootCaption) : m_root(new Entry)
{
    m_root->caption = std::move(rootCaption);
    m_order.push_back(m_root);
}

InMemoryDesignTree::~InMemoryDesignTree()
{
    destroySubtree(m_root);
}

int InMemoryDesignTree::count() const
{
    ensureIndexed();
    return static_cast<int>(m_order.size());
}

DesignTree::Node InMemoryDesignTree::nodeAt(int absoluteIndex) const
{
    ensureIndexed();
    if (absoluteIndex < 0 || absoluteIndex >= static_cast<int>(m_order.size()))
        return nullptr;
    return m_order[static_cast<std::size_t>(absoluteIndex)];
}

int InMemoryDesignTree::absoluteIndex(Node node) const
{
    ensureIndexed();
    return entry(node)->index;
}

int InMemoryDesignTree::depth(Node node) const
{
    ensureIndexed();
    return entry(node)->depth;
}

DesignTree::Node InMemoryDesignTree::parent(Node node) const
{
    return entry(node)->parent;
}

DesignTree::Node InMemoryDesignTree::previousSibling(Node node) const
{
    ensureIndexed();
    const Entry *e = entry(node);
    if (!e->parent || e->position == 0)
        return nullptr;
    return e->parent->children[static_cast<std::size_t>(e->position - 1)];
}

DesignTree::Node InMemoryDesignTree::nextSibling(Node node) const
{
    ensureIndexed();
    const Entry *e = entry(node);
    if (!e->parent || e->position + 1 >= static_cast<int>(e->parent->children.size()))
        return nullptr;
    return e->parent->children[static_cast<std::size_t>(e->position + 1)];
}

int InMemoryDesignTree::childCount(Node node) const
{
    return static_cast<int>(entry(node)->children.size());
}

DesignTree::Node InMemoryDesignTree::child(Node node, int position) const
{
    const auto &children = entry(node)->children;
    if (position < 0 || position >= static_cast<int>(children.size()))
        return nullptr;
    return children[static_cast<std::size_t>(position)];
}

DesignTree::Node InMemoryDesignTree::addChild(Node parentNode, const std::string &caption)
{
    Entry *p = entry(parentNode);
    const bool inOrder = appendsInOrder(p);
    auto *e = new Entry;
    e->caption = caption;
    e->parent = p;
    e->position = static_cast<int>(p->children.size());
    e->depth = p->depth + 1;
    p->children.push_back(e);
    if (inOrder) {
        e->index = static_cast<int>(m_order.size());
        m_order.push_back(e);
    } else {
        m_dirty = true;
    }
    if (m_observer)
        m_observer->nodeAdded(e);
    return e;
}

void InMemoryDesignTree::moveBefore(Node node, Node before)
{
    const Entry *anchor = entry(before);
    if (node == before || !anchor->parent)
        return;
    int at = position(before);
    if (entry(node)->parent == anchor->parent && position(node) < at)
        --at; // counted without the moved node
    moveTo(node, anchor->parent, at);
}

bool InMemoryDesignTree::moveTo(Node node, Node parentNode, int at)
{
    Entry *moved = entry(node);
    Entry *target = entry(parentNode);
    if (moved == m_root || !target)
        return false;
    for (const Entry *a = target; a; a = a->parent)
        if (a == moved)
            return false; // a node cannot move into its own subtree
    detach(moved);
    auto &siblings = target->children;
    at = std::clamp(at, 0, static_cast<int>(siblings.size()));
    siblings.insert(siblings.begin() + at, moved);
    moved->parent = target;
    m_dirty = true;
    if (m_observer)
        m_observer->nodeMoved(moved);
    return true;
}

int InMemoryDesignTree::position(Node node) const
{
    ensureIndexed();
    return entry(node)->position;
}

void InMemoryDesignTree::deleteNode(Node node)
{
    Entry *e = entry(node);
    if (e == m_root)
        return;
    if (m_observer)
        m_observer->nodeRemoving(e);
    detach(e);
    destroySubtree(e);
    m_dirty = true;
}

const std::string &InMemoryDesignTree::caption(Node node) const
{
    return entry(node)->caption;
}

void InMemoryDesignTree::setCaption(Node node, const std::string &caption)
{
    entry(node)->caption = caption;
    if (m_observer)
        m_observer->captionChanged(node);
}

// A new last child of parent is also the last node in depth-first order exactly when
// parent lies on the path from the root to the current last node.
bool InMemoryDesignTree::appendsInOrder(const Entry *parentEntry) const
{
    if (m_dirty)
        return false;
    for (const Entry *a = m_order.back(); a; a = a->parent)
        if (a == parentEntry)
            return true;
    return false;
}

void InMemoryDesignTree::ensureIndexed() const
{
    if (m_dirty)
        reindex();
}

void InMemoryDesignTree::reindex() const
{
    m_order.clear();
    std::vector<Entry *> stack{m_root};
    m_root->depth = 0;
    m_root->position = 0;
    while (!stack.empty()) {
        Entry *e = stack.back();
        stack.pop_back();
        e->index = static_cast<int>(m_order.size());
        m_order.push_back(e);
        for (std::size_t i = e->children.size(); i-- > 0;) {
            Entry *c = e->children[i];
            c->depth = e->depth + 1;
            c->position = static_cast<int>(i);
            stack.push_back(c);
        }
    }
    m_dirty = false;
}

// A node's position is kept from the last indexing; nodes taken from the end, as a reset
// takes them, keep it right, so clearing a long list stays linear.
void InMemoryDesignTree::detach(Entry *node)
{
    auto &siblings = node->parent->children;
    const auto at = static_cast<std::size_t>(node->position);
    if (at < siblings.size() && siblings[at] == node)
        siblings.erase(siblings.begin() + node->position);
    else
        siblings.erase(std::find(siblings.begin(), siblings.end(), node));
    node->parent = nullptr;
}

void InMemoryDesignTree::destroySubtree(Entry *node)
{
    std::vector<Entry *> stack{node};
    while (!stack.empty()) {
        Entry *e = stack.back();
        stack.pop_back();
        stack.insert(stack.end(), e->children.begin(), e->children.end());
        delete e;
    }
}
