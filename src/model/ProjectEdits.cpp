#include "ProjectEdits.h"

#include <stdexcept>
#include <type_traits>

namespace {

template <typename Record> std::size_t recordBytes(const Record &record)
{
    std::size_t total = sizeof(Record);
    for (auto field : Record::fields)
        total += (record.*field).capacity();
    return total;
}

std::size_t blockBytes(const TzybAppletAgent::ItemBlock &block)
{
    std::size_t total = sizeof(block) + block.depths.capacity() * sizeof(int);
    for (const TItemData &item : block.items)
        total += recordBytes(item);
    for (const std::string &caption : block.captions)
        total += sizeof(caption) + caption.capacity();
    return total;
}

// The fields of `to` that differ from `from`, written over `current`.
template <typename Record>
Record changedFields(Record current, const Record &from, const Record &to)
{
    for (auto field : Record::fields)
        if (from.*field != to.*field)
            current.*field = to.*field;
    return current;
}

DesignTree::Node nodeOrFail(DesignTree::Node node)
{
    if (!node)
        throw std::logic_error("The history does not fit the project any more.");
    return node;
}

} // namespace

InsertItemsEdit::InsertItemsEdit(std::string name, int parentIndex, int position,
                                 std::vector<TzybAppletAgent::ItemBlock> blocks)
    : m_name(std::move(name)), m_parentIndex(parentIndex), m_position(position),
      m_blocks(std::move(blocks))
{}

DesignTree::Node InsertItemsEdit::redo(EditTarget &target)
{
    const DesignTree::Node parent = nodeOrFail(target.tree.nodeAt(m_parentIndex));
    for (std::size_t i = 0; i < m_blocks.size(); ++i)
        target.agent.putSubtree(target.tree, parent, m_position + static_cast<int>(i), m_blocks[i]);
    return parent;
}

// The blocks are taken back as they are now, so a redo gives them back with whatever a
// build has filled in since.
DesignTree::Node InsertItemsEdit::undo(EditTarget &target)
{
    const DesignTree::Node parent = nodeOrFail(target.tree.nodeAt(m_parentIndex));
    for (std::size_t i = m_blocks.size(); i-- > 0;)
        m_blocks[i] = target.agent.takeSubtree(
            target.tree, nodeOrFail(target.tree.child(parent, m_position + static_cast<int>(i))));
    return parent;
}

std::size_t InsertItemsEdit::bytes() const
{
    std::size_t total = sizeof(*this) + m_name.size();
    for (const auto &block : m_blocks)
        total += blockBytes(block);
    return total;
}

DeleteItemEdit::DeleteItemEdit(int parentIndex, int position)
    : m_parentIndex(parentIndex), m_position(position)
{}

// The selection goes to the next item of the level, else the one before, else the parent.
DesignTree::Node DeleteItemEdit::redo(EditTarget &target)
{
    const DesignTree::Node parent = nodeOrFail(target.tree.nodeAt(m_parentIndex));
    m_block =
        target.agent.takeSubtree(target.tree, nodeOrFail(target.tree.child(parent, m_position)));
    if (const DesignTree::Node next = target.tree.child(parent, m_position))
        return next;
    if (const DesignTree::Node previous = target.tree.child(parent, m_position - 1))
        return previous;
    return parent;
}

DesignTree::Node DeleteItemEdit::undo(EditTarget &target)
{
    const DesignTree::Node parent = nodeOrFail(target.tree.nodeAt(m_parentIndex));
    const DesignTree::Node restored =
        target.agent.putSubtree(target.tree, parent, m_position, m_block);
    m_block = {};
    return restored;
}

std::size_t DeleteItemEdit::bytes() const
{
    return sizeof(*this) + blockBytes(m_block);
}

MoveItemEdit::MoveItemEdit(std::string name, Place from, Place to)
    : m_name(std::move(name)), m_from(from), m_to(to)
{}

DesignTree::Node MoveItemEdit::move(EditTarget &target, Place from, Place to, Place *back)
{
    DesignTree &tree = target.tree;
    const DesignTree::Node oldParent = nodeOrFail(tree.nodeAt(from.parentIndex));
    const DesignTree::Node node = nodeOrFail(tree.child(oldParent, from.position));
    const DesignTree::Node newParent = nodeOrFail(tree.nodeAt(to.parentIndex));
    if (!target.agent.moveSubtree(tree, node, newParent, to.position))
        throw std::logic_error("An item cannot move into its own subtree.");
    if (back) {
        back[0] = {tree.absoluteIndex(newParent), tree.position(node)};
        back[1] = {tree.absoluteIndex(oldParent), from.position};
    }
    return node;
}

DesignTree::Node MoveItemEdit::redo(EditTarget &target)
{
    Place back[2];
    const DesignTree::Node node = move(target, m_from, m_to, back);
    m_backFrom = back[0];
    m_backTo = back[1];
    return node;
}

DesignTree::Node MoveItemEdit::undo(EditTarget &target)
{
    return move(target, m_backFrom, m_backTo, nullptr);
}

template <class Record>
FieldsEdit<Record>::FieldsEdit(std::string name, Record before, Record after, int itemIndex)
    : m_name(std::move(name)), m_before(std::move(before)), m_after(std::move(after)),
      m_itemIndex(itemIndex)
{}

template <class Record>
DesignTree::Node FieldsEdit<Record>::apply(EditTarget &target, const Record &from, const Record &to)
{
    if constexpr (std::is_same_v<Record, TItemData>) {
        target.agent.SetItem(changedFields(target.agent.GetItem(m_itemIndex), from, to),
                             m_itemIndex);
        return target.tree.nodeAt(m_itemIndex + 1);
    } else {
        target.agent.SetAppletData(changedFields(target.agent.GetAppletData(), from, to));
        return target.tree.root();
    }
}

template <class Record> DesignTree::Node FieldsEdit<Record>::redo(EditTarget &target)
{
    return apply(target, m_before, m_after);
}

template <class Record> DesignTree::Node FieldsEdit<Record>::undo(EditTarget &target)
{
    return apply(target, m_after, m_before);
}

template <class Record> std::size_t FieldsEdit<Record>::bytes() const
{
    return sizeof(*this) + m_name.size() + recordBytes(m_before) + recordBytes(m_after);
}

template class FieldsEdit<TItemData>;
template class FieldsEdit<TAppletData>;
