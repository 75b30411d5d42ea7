#pragma once

// One step of the editor's history: an edit of the project that can be taken back and made
// again. An edit finds its items by their place in the tree (an absolute index, a child's
// position), never by a node handle: undoing a deletion makes new nodes, and a later step
// must still find them. Undo and redo run in exactly the state the edit left or found, so
// the places are always right.

#include "DesignTree.h"

#include <cstddef>
#include <string>

class TzybAppletAgent;

struct EditTarget
{
    TzybAppletAgent &agent;
    DesignTree &tree;
};

class ProjectEdit
{
public:
    virtual ~ProjectEdit() = default;

    // The command as the Edit menu names it: "Move Up", "Delete".
    virtual std::string name() const = 0;
    // Each returns the node to select afterwards.
    virtual DesignTree::Node redo(EditTarget &target) = 0;
    virtual DesignTree::Node undo(EditTarget &target) = 0;
    // Roughly what the step holds in memory, so the history can stay bounded.
    virtual std::size_t bytes() const = 0;
};
