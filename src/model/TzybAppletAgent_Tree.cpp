// The editor's item commands. Each changes the design tree and the item list in step, so
// that the list stays the tree in depth-first order without the root.

#include "TzybAppletAgent.h"

#include <algorithm>

namespace {

// Absolute index of the first node after node's subtree, or the node count when none.
int subtreeEnd(const DesignTree &tree, DesignTree::Node node)
{
    for (DesignTree::Node n = node; n && n != tree.root(); n = tree.parent(n))
        if (DesignTree::Node next = tree.nextSibling(n))
            return tree.absoluteIndex(next);
    return tree.count();
}

} // namespace

int TzybAppletAgent::descendantCount(const DesignTree &tree, DesignTree::Node node)
{
    return subtreeEnd(tree, node) - tree.absoluteIndex(node) - 1;
}

DesignTree::Node TzybAppletAgent::insertChildItem(DesignTree &tree, DesignTree::Node selected)
{
    const DesignTree::Node node = tree.addChild(selected, "Item");
    TItemData item = NewItemData();
    item.ILevel = std::to_string(tree.depth(node) - 1);
    InsertItem(tree.absoluteIndex(node) - 1, item);
    return node;
}

void TzybAppletAgent::deleteItemSubtree(DesignTree &tree, DesignTree::Node selected)
{
    if (!selected || selected == tree.root())
        return;
    const int first = tree.absoluteIndex(selected) - 1;
    const int end = subtreeEnd(tree, selected) - 1;
    Items.erase(Items.begin() + first, Items.begin() + std::min(end, itemCount()));
    tree.deleteNode(selected);
}

// Moves the block of blockAfter + 1 items that starts at firstOfSecondBlock in front of
// the block of blockBefore + 1 items right before it, one exchange at a time.
void TzybAppletAgent::swapBlocks(int firstOfSecondBlock, int blockBefore, int blockAfter)
{
    for (int r = 0; r <= blockAfter; ++r)
        for (int a = firstOfSecondBlock + r; a >= firstOfSecondBlock + r - blockBefore; --a)
            ExchangeWithPrevious(a);
}

void TzybAppletAgent::moveItemUp(DesignTree &tree, DesignTree::Node selected)
{
    const DesignTree::Node previous = selected ? tree.previousSibling(selected) : nullptr;
    if (!previous)
        return;
    swapBlocks(tree.absoluteIndex(selected) - 1, descendantCount(tree, previous),
               descendantCount(tree, selected));
    tree.moveBefore(selected, previous);
}

void TzybAppletAgent::moveItemDown(DesignTree &tree, DesignTree::Node selected)
{
    const DesignTree::Node next = selected ? tree.nextSibling(selected) : nullptr;
    if (!next)
        return;
    swapBlocks(tree.absoluteIndex(next) - 1, descendantCount(tree, selected),
               descendantCount(tree, next));
    tree.moveBefore(next, selected);
}

TzybAppletAgent::ItemBlock TzybAppletAgent::takeSubtree(DesignTree &tree, DesignTree::Node node)
{
    ItemBlock block;
    if (!node || node == tree.root())
        return block;
    const int first = tree.absoluteIndex(node);
    const int end = subtreeEnd(tree, node);
    const int base = tree.depth(node);
    for (int n = first; n < end; ++n) {
        const DesignTree::Node at = tree.nodeAt(n);
        block.items.push_back(Items[static_cast<std::size_t>(n - 1)]);
        block.depths.push_back(tree.depth(at) - base);
        block.captions.push_back(tree.caption(at));
    }
    Items.erase(Items.begin() + (first - 1), Items.begin() + (end - 1));
    tree.deleteNode(node);
    return block;
}

// The nodes are made in depth-first order, each below the latest node one level up, then
// the first is moved into place and the items follow it into the list in one insertion.
DesignTree::Node TzybAppletAgent::putSubtree(DesignTree &tree, DesignTree::Node parent,
                                             int position, const ItemBlock &block)
{
    if (block.items.empty())
        return nullptr;
    // latest[d] is the newest node at depth d - 1 of the block; latest[0] its parent.
    std::vector<DesignTree::Node> latest{parent};
    DesignTree::Node first = nullptr;
    for (std::size_t i = 0; i < block.items.size(); ++i) {
        const int depth = i == 0 ? 0 : std::max(1, block.depths[i]);
        const std::size_t level = std::min(static_cast<std::size_t>(depth), latest.size() - 1);
        const std::string &caption = block.captions.size() > i ? block.captions[i] : "Item";
        latest.resize(level + 1);
        latest.push_back(tree.addChild(latest[level], caption));
        if (i == 0)
            first = latest.back();
    }
    tree.moveTo(first, parent, position);
    const int at = tree.absoluteIndex(first) - 1;
    Items.insert(Items.begin() + at, block.items.begin(), block.items.end());
    refreshBlockLevels(tree, first);
    return first;
}

bool TzybAppletAgent::moveSubtree(DesignTree &tree, DesignTree::Node node, DesignTree::Node parent,
                                  int position)
{
    if (!node || node == tree.root())
        return false;
    const int first = tree.absoluteIndex(node) - 1;
    const int end = subtreeEnd(tree, node) - 1;
    if (!tree.moveTo(node, parent, position))
        return false;
    TItemArray moved(std::make_move_iterator(Items.begin() + first),
                     std::make_move_iterator(Items.begin() + end));
    Items.erase(Items.begin() + first, Items.begin() + end);
    const int at = tree.absoluteIndex(node) - 1;
    Items.insert(Items.begin() + at, std::make_move_iterator(moved.begin()),
                 std::make_move_iterator(moved.end()));
    refreshBlockLevels(tree, node);
    return true;
}

void TzybAppletAgent::refreshBlockLevels(const DesignTree &tree, DesignTree::Node first)
{
    const int start = tree.absoluteIndex(first);
    const int end = subtreeEnd(tree, first);
    for (int n = start; n < end; ++n)
        Items[static_cast<std::size_t>(n - 1)].ILevel =
            std::to_string(tree.depth(tree.nodeAt(n)) - 1);
}
