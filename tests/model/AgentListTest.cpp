// The agent's records and its primitive list operations.

#include "model/TzybAppletAgent.h"

#include <gtest/gtest.h>

namespace {

TItemData itemNamed(const std::string &name)
{
    TItemData item;
    item.IToolTip = name;
    return item;
}

std::string names(const TzybAppletAgent &agent)
{
    std::string text;
    for (const TItemData &item : agent.items())
        text += item.IToolTip;
    return text;
}

class AgentList : public ::testing::Test
{
protected:
    void fill(const std::string &letters)
    {
        for (char c : letters)
            agent.InsertItem(agent.itemCount(), itemNamed(std::string(1, c)));
    }
    TzybAppletAgent agent{"/nonexistent"};
};

TEST_F(AgentList, startsEmptyAndTakesTheDefaults)
{
    EXPECT_EQ(agent.GetAppletData(), TAppletData{});
    EXPECT_EQ(agent.scriptFileNames(),
              (TStringArray{"velloria.js", "velloriacfg.js", "velloria.css"}));
    EXPECT_EQ(agent.separator(), "#$@");
    fill("ab");
    agent.SetDefaults();
    EXPECT_EQ(agent.itemCount(), 0);
    EXPECT_EQ(TzybAppletAgent::AppletDataToStrings(agent.GetAppletData()),
              (TStringArray{"Velloria1", "Velloria1_DIV", "160", "120", "FFFFFF", "0", "30",
                            "Velloria1Cfg", "4", "0", "FFFF00", "", "", "1"}));
    EXPECT_EQ(TzybAppletAgent::ItemDataToStrings(agent.NewItemData()),
              (TStringArray{"", "", "", "_self", "", "160", "120", "", ""}));
}

TEST_F(AgentList, recordsSurviveTheTripThroughStrings)
{
    agent.SetDefaults();
    const TAppletData data = agent.GetAppletData();
    EXPECT_EQ(TzybAppletAgent::StringsToAppletData(TzybAppletAgent::AppletDataToStrings(data)),
              data);
    const TItemData item{"a", "b", "c", "d", "e", "f", "g", "h", "i"};
    EXPECT_EQ(TzybAppletAgent::StringsToItemData(TzybAppletAgent::ItemDataToStrings(item)), item);
}

struct ListCase
{
    const char *start;
    int index;
    const char *expected;
};

class InsertCase : public AgentList, public ::testing::WithParamInterface<ListCase>
{};

TEST_P(InsertCase, placesTheCopyAtTheIndexOrDoesNothing)
{
    fill(GetParam().start);
    agent.InsertItem(GetParam().index, itemNamed("X"));
    EXPECT_EQ(names(agent), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(AgentList, InsertCase,
                         ::testing::Values(ListCase{"", 0, "X"}, ListCase{"abc", 3, "abcX"},
                                           ListCase{"abc", 1, "aXbc"}, ListCase{"abc", 0, "Xabc"},
                                           ListCase{"abc", 5, "abc"}, ListCase{"abc", -1, "abc"}));

class DeleteCase : public AgentList, public ::testing::WithParamInterface<ListCase>
{};

TEST_P(DeleteCase, removesTheItemAtTheIndexOrDoesNothing)
{
    fill(GetParam().start);
    agent.DeleteItem(GetParam().index);
    EXPECT_EQ(names(agent), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(AgentList, DeleteCase,
                         ::testing::Values(ListCase{"a", 0, ""}, ListCase{"abc", 3, "abc"},
                                           ListCase{"abc", 1, "ac"}, ListCase{"abc", -1, "abc"}));

class ExchangeCase : public AgentList, public ::testing::WithParamInterface<ListCase>
{};

TEST_P(ExchangeCase, swapsWithThePreviousOnlyInsideTheList)
{
    fill(GetParam().start);
    agent.ExchangeWithPrevious(GetParam().index);
    EXPECT_EQ(names(agent), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(AgentList, ExchangeCase,
                         ::testing::Values(ListCase{"abc", 0, "abc"}, ListCase{"abc", 3, "abc"},
                                           ListCase{"abc", 2, "acb"}, ListCase{"abc", 1, "bac"},
                                           ListCase{"abc", -4, "abc"}));

TEST_F(AgentList, handsOutCopies)
{
    fill("a");
    TItemData item = agent.GetItem(0);
    item.IToolTip = "changed";
    EXPECT_EQ(agent.GetItem(0).IToolTip, "a");
    agent.SetItem(item, 0);
    EXPECT_EQ(agent.GetItem(0).IToolTip, "changed");
}

} // namespace
