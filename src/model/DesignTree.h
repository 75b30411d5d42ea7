#pragma once

// The tree of slides as the project model sees it; InMemoryDesignTree is the one the core
// owns, and the editor's tree view only shows it. Node 0 in depth-first order is the root;
// every other node stands for one item.
//
// The model changes the tree only through addChild, moveBefore, moveTo and deleteNode, so an
// implementation may keep the depth-first order (or each node's index) and renew it only
// after those: the model asks for absolute indexes and nodes by index far more often than it
// changes the tree, and a walk of the whole tree per question would make long projects slow.

#include <string>

class DesignTree
{
public:
    // A node as its implementation keeps it: implementations derive their node type from
    // NodeData, so a handle of one tree cannot be mistaken for any other pointer. nullptr
    // means "no such node".
    struct NodeData
    {};
    using Node = NodeData *;

    virtual ~DesignTree() = default;

    virtual int count() const = 0;
    virtual Node nodeAt(int absoluteIndex) const = 0;
    virtual int absoluteIndex(Node node) const = 0;
    virtual int depth(Node node) const = 0;
    virtual Node parent(Node node) const = 0;
    virtual Node previousSibling(Node node) const = 0;
    virtual Node nextSibling(Node node) const = 0;
    virtual int childCount(Node node) const = 0;
    virtual Node child(Node node, int position) const = 0;

    // Adds a node as the last child of parent and returns it.
    virtual Node addChild(Node parent, const std::string &caption) = 0;
    // Moves node with its subtree so that it stands right before `before`.
    virtual void moveBefore(Node node, Node before) = 0;
    // Moves node with its subtree to `position` among parent's children, counted without the
    // node itself. False, changing nothing, into its own subtree or for the root.
    virtual bool moveTo(Node node, Node parent, int position) = 0;
    // Position of node among its parent's children.
    virtual int position(Node node) const = 0;
    // Deletes node with its subtree.
    virtual void deleteNode(Node node) = 0;
    // Captions carry no data; a generation run marks items whose picture is missing.
    virtual void setCaption(Node node, const std::string &caption) = 0;
    virtual const std::string &caption(Node node) const = 0;

    Node root() const { return nodeAt(0); }
};
