// The writer: the exact text that a model turns into.
#include "MapWriter.h"

#include "support/MapText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(MapWriterTest, WritesTheFixedLineForms)
{
    const std::string input = R"({
"origin" "0 0 0"  classname worldspawn
// fixed
{
( -64 -64 -16 ) ( -64 -63 -16 ) ( -64 -64 -15 ) base_wall/lfwall13f3 0 0 0 0.500000 0.5
(0 0 0 ) ( 1 0 0 )( 0 1 0 ) "caulk" -0 0 90 1 1
}
{
}
}
{ "name" "lamp" }
)";
    const std::string expected = R"({
 "//" "fixed"
 "classname" "worldspawn"
 "name" "noname0"
 "origin" "0 0 0"
 {
  ( -64 -64 -16 ) ( -64 -63 -16 ) ( -64 -64 -15 ) base_wall/lfwall13f3 0 0 0 0.500000 0.5
  ( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) "caulk" -0 0 90 1 1
 }
 {
 }
}
{
 "name" "lamp"
}
)";
    EXPECT_EQ(expected, CleanText(input));
}

TEST(MapWriterTest, NoEntitiesWriteNothing)
{
    EXPECT_EQ("", CleanText(" \r\n\t "));
}

TEST(MapWriterTest, KeysAndValuesWithAQuoteAreWrittenBare)
{
    const std::string output = CleanText("{ a\"b \"c d\" name x\"\" }");
    EXPECT_EQ("{\n a\"b \"c d\"\n \"name\" x\"\"\n}\n", output);
    EXPECT_EQ(output, CleanText(output)) << "reads back as the same pairs";
}

TEST(MapWriterTest, TokensGoOutByteForByte)
{
    static const char kInput[] = "{ \"k\0y\" \"line\r\nbreak\xff\" { ( a\0 b c ) ( d e f ) ( g h i ) t\x01 1 2 3 4 5 } }";
    static const char kPair[] = " \"k\0y\" \"line\r\nbreak\xff\"\n";
    static const char kPlane[] = "  ( a\0 b c ) ( d e f ) ( g h i ) t\x01 1 2 3 4 5\n";
    const std::string output = CleanText(std::string(kInput, sizeof kInput - 1));
    EXPECT_NE(std::string::npos, output.find(std::string(kPair, sizeof kPair - 1)));
    EXPECT_NE(std::string::npos, output.find(std::string(kPlane, sizeof kPlane - 1)));
}

TEST(MapWriterTest, RewritingTwiceChangesNothingMore)
{
    const std::string once = CleanText("{ b 1 a 2 { ( 1 2 3 ) ( 4 5 6 ) ( 7 8 9 ) x 0 0 0 1 1 } }{}{ name noname1 }");
    EXPECT_EQ(once, CleanText(once));
}

} // namespace
