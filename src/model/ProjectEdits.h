#pragma once

// The edits of the editor's history: items put in, an item taken out with its subtree, an
// item moved, an item's values changed, the parameters changed. Each holds only what it
// changes, so a history of a 100,000-item project holds no copy of the project.

#include "ProjectEdit.h"
#include "TzybAppletAgent.h"

#include <vector>

// New items as consecutive children of one node: Insert, and pictures added or dropped.
class InsertItemsEdit : public ProjectEdit
{
public:
    InsertItemsEdit(std::string name, int parentIndex, int position,
                    std::vector<TzybAppletAgent::ItemBlock> blocks);
    std::string name() const override { return m_name; }
    DesignTree::Node redo(EditTarget &target) override;
    DesignTree::Node undo(EditTarget &target) override;
    std::size_t bytes() const override;

private:
    std::string m_name;
    int m_parentIndex;
    int m_position;
    std::vector<TzybAppletAgent::ItemBlock> m_blocks;
};

// An item and its subtree taken out.
class DeleteItemEdit : public ProjectEdit
{
public:
    DeleteItemEdit(int parentIndex, int position);
    std::string name() const override { return "Delete"; }
    DesignTree::Node redo(EditTarget &target) override;
    DesignTree::Node undo(EditTarget &target) override;
    std::size_t bytes() const override;

private:
    int m_parentIndex;
    int m_position;
    TzybAppletAgent::ItemBlock m_block;
};

// An item and its subtree moved to another place: Move Up, Move Down, a drag.
class MoveItemEdit : public ProjectEdit
{
public:
    struct Place
    {
        int parentIndex; // absolute index of the parent
        int position;    // among its children, counted without the moved item
    };
    // `from` names the item by its place, `to` the place it goes to, both as they are now.
    MoveItemEdit(std::string name, Place from, Place to);
    std::string name() const override { return m_name; }
    DesignTree::Node redo(EditTarget &target) override;
    DesignTree::Node undo(EditTarget &target) override;
    std::size_t bytes() const override { return sizeof(*this) + m_name.size(); }

private:
    static DesignTree::Node move(EditTarget &target, Place from, Place to, Place *back);

    std::string m_name;
    Place m_from, m_to;
    Place m_backFrom{}, m_backTo{}; // the same move taken back, as the state after it has them
};

// Values of one record, an item's or the slide show's parameters. Only the fields that
// differ are written, so what a build fills in later (the slide's name and size) is not
// taken back with the user's change.
template <class Record> class FieldsEdit : public ProjectEdit
{
public:
    // itemIndex names the item; the parameters have none.
    FieldsEdit(std::string name, Record before, Record after, int itemIndex = -1);
    std::string name() const override { return m_name; }
    DesignTree::Node redo(EditTarget &target) override;
    DesignTree::Node undo(EditTarget &target) override;
    std::size_t bytes() const override;

private:
    DesignTree::Node apply(EditTarget &target, const Record &from, const Record &to);

    std::string m_name;
    Record m_before, m_after;
    int m_itemIndex;
};

using ItemValuesEdit = FieldsEdit<TItemData>;
using ParametersEdit = FieldsEdit<TAppletData>;
