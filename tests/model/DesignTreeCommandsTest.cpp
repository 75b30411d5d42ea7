// Item commands and level handling keep the design tree and the item list in step.

#include "model/InMemoryDesignTree.h"
#include "model/TzybAppletAgent.h"

#include <gtest/gtest.h>
#include <random>

namespace {

class TreeCommands : public ::testing::Test
{
protected:
    // Adds an item named `name` as the last child of `parent` and returns its node.
    DesignTree::Node add(DesignTree::Node parent, const std::string &name)
    {
        const DesignTree::Node node = agent.insertChildItem(tree, parent);
        const int index = tree.absoluteIndex(node) - 1;
        TItemData item = agent.GetItem(index);
        item.IToolTip = name;
        agent.SetItem(item, index);
        return node;
    }

    // The tree in depth-first order, each node as its depth and the name of its item:
    // this only reads back as expected while the list is the tree without the root.
    std::string shape()
    {
        EXPECT_EQ(agent.itemCount(), tree.count() - 1);
        std::string text;
        for (int n = 1; n < tree.count(); ++n)
            text +=
                std::to_string(tree.depth(tree.nodeAt(n))) + agent.GetItem(n - 1).IToolTip + " ";
        return text;
    }

    void setLevels(const std::vector<std::string> &levels)
    {
        for (const std::string &level : levels) {
            TItemData item = agent.NewItemData();
            item.ILevel = level;
            item.IToolTip = std::to_string(agent.itemCount());
            agent.InsertItem(agent.itemCount(), item);
        }
    }

    TzybAppletAgent agent{"/nonexistent"};
    InMemoryDesignTree tree;
};

TEST_F(TreeCommands, insertingUnderTheRootAppendsLevelZeroItems)
{
    add(tree.root(), "a");
    const DesignTree::Node b = add(tree.root(), "b");
    EXPECT_EQ(shape(), "1a 1b ");
    EXPECT_EQ(agent.GetItem(1).ILevel, "0");
    EXPECT_EQ(tree.caption(b), "Item");
}

TEST_F(TreeCommands, insertingUnderAnItemPlacesTheChildAfterItsSubtree)
{
    const DesignTree::Node a = add(tree.root(), "a");
    add(a, "a1");
    add(tree.root(), "b");
    add(a, "a2");
    EXPECT_EQ(shape(), "1a 2a1 2a2 1b ");
    EXPECT_EQ(agent.GetItem(2).ILevel, "1");
}

TEST_F(TreeCommands, movingTheFirstOfThreeDownSwapsTwoItems)
{
    const DesignTree::Node a = add(tree.root(), "a");
    add(tree.root(), "b");
    add(tree.root(), "c");
    agent.moveItemDown(tree, a);
    EXPECT_EQ(shape(), "1b 1a 1c ");
}

TEST_F(TreeCommands, movingANodeUpTakesItsSubtreeAlong)
{
    add(tree.root(), "A");
    const DesignTree::Node b = add(tree.root(), "B");
    add(b, "B1");
    add(b, "B2");
    agent.moveItemUp(tree, b);
    EXPECT_EQ(shape(), "1B 2B1 2B2 1A ");
}

TEST_F(TreeCommands, movingDownPastASubtreeKeepsBothBlocksInOrder)
{
    const DesignTree::Node a = add(tree.root(), "A");
    add(add(a, "A1"), "A11");
    const DesignTree::Node b = add(tree.root(), "B");
    add(b, "B1");
    add(b, "B2");
    add(tree.root(), "C");
    agent.moveItemDown(tree, a);
    EXPECT_EQ(shape(), "1B 2B1 2B2 1A 2A1 3A11 1C ");
}

TEST_F(TreeCommands, movesWithoutASiblingDoNothing)
{
    const DesignTree::Node a = add(tree.root(), "a");
    const DesignTree::Node a1 = add(a, "a1");
    agent.moveItemUp(tree, a);
    agent.moveItemDown(tree, a);
    agent.moveItemUp(tree, a1);
    EXPECT_EQ(shape(), "1a 2a1 ");
}

TEST_F(TreeCommands, deletingANodeRemovesItsWholeSubtreeAndNothingElse)
{
    add(tree.root(), "a");
    const DesignTree::Node b = add(tree.root(), "b");
    add(add(b, "b1"), "b11");
    add(tree.root(), "c");
    agent.deleteItemSubtree(tree, b);
    EXPECT_EQ(shape(), "1a 1c ");
}

TEST_F(TreeCommands, deletingTheLastSubtreeReachesTheEndOfTheList)
{
    add(tree.root(), "a");
    const DesignTree::Node b = add(tree.root(), "b");
    add(add(b, "b1"), "b11");
    agent.deleteItemSubtree(tree, tree.nodeAt(4));
    EXPECT_EQ(shape(), "1a 1b 2b1 ");
    agent.deleteItemSubtree(tree, tree.root());
    EXPECT_EQ(shape(), "1a 1b 2b1 ");
}

TEST_F(TreeCommands, levelsRebuildTheTreeTheyWereTakenFrom)
{
    setLevels({"0", "1", "2", "1", "0"});
    agent.BuildTreeFromLevels(tree);
    EXPECT_EQ(shape(), "10 21 32 23 14 ");
    EXPECT_EQ(tree.caption(tree.nodeAt(1)), "Image");
}

TEST_F(TreeCommands, randomTreesSurviveLevelsAndRebuild)
{
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        TzybAppletAgent fresh("/nonexistent");
        InMemoryDesignTree built;
        for (int i = 0; i < 60; ++i) {
            const int parent = static_cast<int>(random() % static_cast<unsigned>(built.count()));
            fresh.insertChildItem(built, built.nodeAt(parent));
        }
        fresh.UpdateLevelsFromTree(built);
        InMemoryDesignTree rebuilt;
        fresh.BuildTreeFromLevels(rebuilt);
        ASSERT_EQ(rebuilt.count(), built.count());
        for (int n = 0; n < built.count(); ++n)
            ASSERT_EQ(rebuilt.depth(rebuilt.nodeAt(n)), built.depth(built.nodeAt(n)));
    }
}

struct OddLevels
{
    std::vector<std::string> levels;
    const char *shape;
};

class OddLevelCase : public TreeCommands, public ::testing::WithParamInterface<OddLevels>
{};

// Levels no tree produces still give a tree in step with the list: each item goes to the
// nearest parent it can have, and none is lost.
TEST_P(OddLevelCase, attachToTheNearestPossibleParent)
{
    setLevels(GetParam().levels);
    agent.BuildTreeFromLevels(tree);
    EXPECT_EQ(shape(), GetParam().shape);
}

INSTANTIATE_TEST_SUITE_P(TreeCommands, OddLevelCase,
                         ::testing::Values(OddLevels{{"3", "4"}, "10 21 "},
                                           OddLevels{{"0", "5", "5"}, "10 21 32 "},
                                           OddLevels{{"0", "1", "-2"}, "10 21 12 "},
                                           OddLevels{{"0", "x", "1.5", ""}, "10 11 12 13 "},
                                           OddLevels{{"0", "+1", " 1"}, "10 21 12 "},
                                           OddLevels{{"0", "99999999999999"}, "10 11 "}));

TEST_F(TreeCommands, deepNestingIsHandledWithoutRecursion)
{
    std::vector<std::string> levels;
    for (int i = 0; i < 200000; ++i)
        levels.push_back(std::to_string(i));
    setLevels(levels);
    agent.BuildTreeFromLevels(tree);
    EXPECT_EQ(tree.count(), 200001);
    EXPECT_EQ(tree.depth(tree.nodeAt(200000)), 200000);
    agent.deleteItemSubtree(tree, tree.nodeAt(1));
    EXPECT_EQ(tree.count(), 1);
    EXPECT_EQ(agent.itemCount(), 0);
}

TEST_F(TreeCommands, updatingLevelsWritesOnlyTheLevels)
{
    const DesignTree::Node a = add(tree.root(), "a");
    add(a, "a1");
    TItemData item = agent.GetItem(1);
    item.ILevel = "7";
    agent.SetItem(item, 1);
    agent.UpdateLevelsFromTree(tree);
    item.ILevel = "1";
    EXPECT_EQ(agent.GetItem(1), item);
}

} // namespace
