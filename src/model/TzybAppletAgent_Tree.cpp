// The editor's item commands. Each changes the design tree and the item list in step, so
// that the list stays the tree in depth-first order without the root.

#include "TzybAppletAgent.h"

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
