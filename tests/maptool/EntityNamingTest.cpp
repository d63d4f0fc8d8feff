// The naming pass: which entities get which "noname%u".
#include "EntityNaming.h"

#include "support/MapText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The "name" of every entity after the naming pass, in file order.
std::vector<std::string> NamesAfterNaming(const std::string& text)
{
    MapEntityList entities;
    EXPECT_TRUE(ParseText(text, entities));
    NameUnnamedEntities(entities);
    std::vector<std::string> names;
    for (const MapEntity& entity : entities) {
        std::string name = "<none>";
        for (const auto& [key, value] : entity.keyValues)
            if (key.View() == "name")
                name = value.View();
        names.push_back(name);
    }
    return names;
}

using Names = std::vector<std::string>;

TEST(EntityNamingTest, UnnamedEntitiesAreNamedInFileOrder)
{
    EXPECT_EQ((Names{"noname0", "noname1", "noname2"}), NamesAfterNaming("{}{}{}"));
}

TEST(EntityNamingTest, NamesUsedAnywhereAreSkippedAndTheCounterNeverGoesBack)
{
    EXPECT_EQ((Names{"noname1", "noname0", "noname3", "noname2"}),
              NamesAfterNaming("{} { name noname0 } {} { name noname2 }"));
    EXPECT_EQ((Names{"noname0", "noname1", "noname2", "noname3", "noname4", "noname6", "noname5"}),
              NamesAfterNaming("{}{}{}{}{}{}{ name noname5 }"));
}

TEST(EntityNamingTest, OnlyExactMatchesBlockACandidate)
{
    EXPECT_EQ((Names{"NoName0", "noname00", "noname0", "noname0 ", "noname1"}),
              NamesAfterNaming("{ name NoName0 } { name noname00 } {} { name \"noname0 \" } {}"));
}

TEST(EntityNamingTest, ExistingNamesStayEvenWhenRepeated)
{
    EXPECT_EQ((Names{"door", "door", "noname0"}), NamesAfterNaming("{ name door } { name door } { Name door }"));
}

TEST(EntityNamingTest, LongCountersMakeLongNames)
{
    std::string text;
    for (int i = 0; i < 12; ++i)
        text += "{}";
    const Names names = NamesAfterNaming(text);
    EXPECT_EQ("noname9", names[9]);
    EXPECT_EQ("noname11", names[11]);
}

} // namespace
