#pragma once

// What a view of the design tree hears of its changes. The tree has made each change when
// it tells of it, except a deletion, told just before so that the view can still find the
// node's subtree; the view asks the tree for the node's new place.

#include "DesignTree.h"

class DesignTreeObserver
{
public:
    virtual ~DesignTreeObserver() = default;
    virtual void nodeAdded(DesignTree::Node node) = 0;
    virtual void nodeMoved(DesignTree::Node node) = 0;
    virtual void nodeRemoving(DesignTree::Node node) = 0;
    virtual void captionChanged(DesignTree::Node node) = 0;
};
