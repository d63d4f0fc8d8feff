// Parse: which texts the map grammar accepts, and the model it builds.
#include "SparseBasic.h"

#include "support/MapText.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

const char* const kPlane = "( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) base/wall 0 0 0 0.5 0.5";

std::vector<std::string> Keys(const MapEntity& entity)
{
    std::vector<std::string> keys;
    for (const auto& pair : entity.keyValues)
        keys.emplace_back(pair.first.View());
    return keys;
}

std::string Value(const MapEntity& entity, const char* pszKey)
{
    for (const auto& [key, value] : entity.keyValues)
        if (key.View() == pszKey)
            return std::string(value.View());
    return "<absent>";
}

struct Case {
    const char* pszName;
    std::string text;
};

void PrintTo(const Case& c, std::ostream* pOut)
{
    *pOut << c.pszName;
}

class Accepted : public testing::TestWithParam<Case> {};
class Rejected : public testing::TestWithParam<Case> {};

TEST_P(Accepted, Parses)
{
    MapEntityList entities;
    EXPECT_TRUE(ParseText(GetParam().text, entities));
}

TEST_P(Rejected, IsASyntaxError)
{
    MapEntityList entities;
    EXPECT_FALSE(ParseText(GetParam().text, entities));
}

INSTANTIATE_TEST_SUITE_P(MapParserTest, Accepted, testing::Values(
    Case{"WhiteSpaceOnly", " \t\r\n  \n"},
    Case{"EmptyEntity", "{\n}"},
    Case{"EntityClosedRightAfterItsBrace", "{}"},
    Case{"PairRightAfterTheEntityBrace", "{\"classname\" \"light\"}"},
    Case{"BarePair", "{ classname light }"},
    Case{"QuotedStringsNeedNoSpaceBetween", "{\"a\"\"b\"\"c\"\"d\"}"},
    Case{"BareValueAfterQuotedKey", "{\"a\"b }"},
    Case{"CommentInsideAnEntityIsAPair", "{ // comment\n}"},
    Case{"ValueMayBeABrace", "{ \"a\" } }"},
    Case{"EmptyBrush", "{ { } }"},
    Case{"OpeningParenthesisGluedToANumber", "{ { (0 0 0 ) (1 0 0 ) (0 1 0 ) t 0 0 0 1 1 } }"},
    Case{"NoSpaceAfterClosingParenthesis", "{ { ( 0 0 0 )( 1 0 0 )( 0 1 0 )t 0 0 0 1 1 } }"},
    Case{"QuotedTextureName", "{ { ( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) \"tex\" 0 0 0 1 1 } }"},
    Case{"EndsWithoutLineBreak", std::string("{\n{\n") + kPlane + "\n}\n}"}),
    [](const auto& info) { return info.param.pszName; });

INSTANTIATE_TEST_SUITE_P(MapParserTest, Rejected, testing::Values(
    Case{"VersionLine", "Version 2\n{\n}"},
    Case{"CommentBeforeTheFirstEntity", "// entity 0\n{\n}"},
    Case{"StrayByteAfterTheLastEntity", "{\n}\n{\n}\nx"},
    Case{"StrayNulAfterTheLastEntity", std::string("{}\0", 3)},
    Case{"EntityNeverClosed", "{ \"a\" \"b\""},
    Case{"KeyWithoutValue", "{ \"a\" }"},
    Case{"EmptyQuotedValue", "{ \"a\" \"\" }"},
    Case{"EmptyQuotedKey", "{ \"\" \"b\" }"},
    Case{"UnclosedQuotedValue", "{ \"a\" \"b }"},
    Case{"BareKeyRunsIntoTheQuotedValue", "{ key\"value\" }"},
    Case{"BrushNeverClosed", "{ { "},
    Case{"PrimitiveWithAKeyword", "{ { patchDef2 { } } }"},
    Case{"NumberGluedToClosingParenthesis", "{ { ( 0 0 0) ( 1 0 0 ) ( 0 1 0 ) t 0 0 0 1 1 } }"},
    Case{"EightNumbersAfterTheTexture", "{ { ( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) t 0 0 0 1 1 0 0 0 } }"},
    Case{"FourNumbersAfterTheTexture", "{ { ( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) t 0 0 0 1 } }"},
    Case{"PlaneCutShort", "{ { ( 0 0 0 ) ( 1 0"},
    Case{"TwoCoordinatesInAPoint", "{ { ( 0 0 ) ( 1 0 0 ) ( 0 1 0 ) t 0 0 0 1 1 } }"},
    Case{"ClosingBraceAtTheTopLevel", "}"}),
    [](const auto& info) { return info.param.pszName; });

TEST(MapParserTest, EmptyTextLeavesTheListUntouched)
{
    MapEntityList entities;
    entities.emplace_back();
    EXPECT_TRUE(ParseText("", entities));
    EXPECT_EQ(1u, entities.size());
    EXPECT_TRUE(ParseText("\n", entities));
    EXPECT_TRUE(entities.empty());
}

TEST(MapParserTest, PairsAreOrderedByKeyBytesAndTheLastValueWins)
{
    MapEntityList entities;
    ASSERT_TRUE(ParseText("{ \"origin\" \"0 0 0\" light x \"name\" \"a\" \"classname\" \"light\" "
                          "\"Light\" \"y\" \"name\" \"b\" \"\xe9\" \"z\" }",
                          entities));
    ASSERT_EQ(1u, entities.size());
    const MapEntity& entity = entities.front();
    EXPECT_EQ((std::vector<std::string>{"Light", "classname", "light", "name", "origin", "\xe9"}), Keys(entity));
    EXPECT_EQ("b", Value(entity, "name"));
    EXPECT_EQ("x", Value(entity, "light"));
}

TEST(MapParserTest, PlaneTokensAreStoredExactlyAsWritten)
{
    MapEntityList entities;
    ASSERT_TRUE(ParseText("{\n{\n( -0.000000 16 (x ) (1 -2 3e4 ) ( 0x1 0 0 ) \"tex name\" 0 -0 0.50 1\n}\n}",
                          entities));
    const MapBrush& brush = entities.front().brushes.front();
    ASSERT_EQ(1u, brush.size());
    const BrushPlane& plane = brush[0];
    const char* const expected[15] = {"-0.000000", "16", "(x", "1", "-2", "3e4", "0x1", "0", "0",
                                      "\"tex", "name\"", "0", "-0", "0.50", "1"};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(expected[i], plane.point[i / 3][i % 3].View()) << "point token " << i;
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(expected[9 + i], plane.surface[i].View()) << "surface token " << i;
}

TEST(MapParserTest, FailureKeepsThePartialEntityButNoPartialPlane)
{
    MapEntityList entities;
    EXPECT_FALSE(ParseText(std::string("{ a b }\n{ \"c\" \"d\"\n{\n") + kPlane + "\n( 0 0 0 ) ( 1", entities));
    ASSERT_EQ(2u, entities.size());
    const MapEntity& last = entities.back();
    EXPECT_EQ("d", Value(last, "c"));
    ASSERT_EQ(1u, last.brushes.size());
    EXPECT_EQ(1u, last.brushes.front().size());
}

TEST(MapParserTest, EntitiesAndBrushesStayInFileOrder)
{
    MapEntityList entities;
    ASSERT_TRUE(ParseText("{ n 1 { } n2 x { } }\n{ n 2 }\n{}", entities));
    ASSERT_EQ(3u, entities.size());
    auto it = entities.begin();
    EXPECT_EQ(2u, it->brushes.size());
    EXPECT_EQ("1", Value(*it, "n"));
    EXPECT_EQ("2", Value(*++it, "n"));
    EXPECT_TRUE((++it)->keyValues.empty());
}

TEST(MapParserTest, TextAfterTheEndIsNeverRead)
{
    // nEnd cuts the text just before the entity's closing brace.
    const std::string text = "{ \"a\" \"b\" }";
    MapEntityList entities;
    ScanCursor cursor = CursorOver(text, text.size() - 1);
    CSparseBasic parser(&cursor, &entities);
    EXPECT_FALSE(parser.Parse());
    EXPECT_EQ(cursor.nEnd, cursor.nPos);
}

} // namespace
