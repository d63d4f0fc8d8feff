// The scanning primitives of CSparseBasic.
#include "SparseBasic.h"

#include "support/MapText.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

struct Scanner {
    explicit Scanner(std::string textIn, std::size_t nEnd = std::string::npos)
        : text(std::move(textIn)), cursor(CursorOver(text, nEnd)), parser(&cursor, &entities)
    {
    }
    std::string Token() const { return std::string(parser.Token().View()); }

    std::string text;
    MapEntityList entities;
    ScanCursor cursor;
    CSparseBasic parser;
};

TEST(SparseBasicTest, PeekAndAdvanceStopAtTheEnd)
{
    const std::string text = "a\xff";
    Scanner s(text);
    EXPECT_EQ('a', s.parser.Peek());
    s.parser.Advance();
    EXPECT_EQ(0xff, s.parser.Peek()) << "bytes are unsigned";
    s.parser.Advance();
    EXPECT_EQ(-1, s.parser.Peek());
    s.parser.Advance();
    EXPECT_EQ(2u, s.cursor.nPos);
}

TEST(SparseBasicTest, OnlyTabLineFeedCarriageReturnAndBlankAreWhiteSpace)
{
    for (const char stop : std::string("\f\v\0x\x80\xa0", 6)) {
        const std::string text = std::string(" \t\r\n") + stop + "y ";
        Scanner s(text);
        s.parser.SkipSpaces();
        EXPECT_EQ(4u, s.cursor.nPos) << "stop byte " << int(static_cast<unsigned char>(stop));
        EXPECT_EQ(2, s.parser.ReadToken());
        EXPECT_EQ(std::string(1, stop) + "y", s.Token());
    }
}

TEST(SparseBasicTest, BareTokenEndsOnlyAtWhiteSpaceOrTheEnd)
{
    Scanner s("12) \"name\"x{(} //c");
    EXPECT_EQ(3, s.parser.ReadToken());
    EXPECT_EQ("12)", s.Token());
    s.parser.SkipSpaces();
    EXPECT_EQ(10, s.parser.ReadToken());
    EXPECT_EQ("\"name\"x{(}", s.Token());
    s.parser.SkipSpaces();
    EXPECT_EQ(3, s.parser.ReadToken()) << "a token may end at the end of the text";
    EXPECT_EQ("//c", s.Token());
    EXPECT_EQ(0, s.parser.ReadToken());
    EXPECT_EQ("", s.Token());
}

TEST(SparseBasicTest, ReadTokenOnWhiteSpaceIsEmpty)
{
    Scanner s(" x");
    EXPECT_EQ(0, s.parser.ReadToken());
    EXPECT_EQ(0u, s.cursor.nPos);
}

TEST(SparseBasicTest, QuotedStringEndsAtTheNextQuote)
{
    Scanner s("\"a b\"c");
    EXPECT_EQ(3, s.parser.ReadQuoted());
    EXPECT_EQ("a b", s.Token());
    EXPECT_EQ('c', s.parser.Peek());
}

TEST(SparseBasicTest, QuotedStringKeepsLineBreaksBackslashesAndNul)
{
    const std::string text("\"x\r\n\\y\0z\"", 9);
    Scanner s(text);
    EXPECT_EQ(7, s.parser.ReadQuoted());
    EXPECT_EQ(std::string("x\r\n\\y\0z", 7), s.Token());
}

TEST(SparseBasicTest, EmptyQuotedStringHasLengthZero)
{
    Scanner s("\"\"");
    EXPECT_EQ(0, s.parser.ReadQuoted());
    EXPECT_EQ("", s.Token());
    EXPECT_EQ(-1, s.parser.Peek());
}

TEST(SparseBasicTest, QuotedReadThrowsWithoutOpeningOrClosingQuote)
{
    Scanner noOpening("abc\"");
    EXPECT_THROW(noOpening.parser.ReadQuoted(), CSparseBasic::Error);
    EXPECT_EQ(0u, noOpening.cursor.nPos);

    Scanner unclosed("\"abc");
    EXPECT_THROW(unclosed.parser.ReadQuoted(), CSparseBasic::Error);
    EXPECT_EQ(4u, unclosed.cursor.nPos);
}

TEST(SparseBasicTest, NothingAtOrBeyondTheEndIsRead)
{
    // The closing quote and the blank lie just past nEnd.
    const std::string text = "\"abc\" x";
    Scanner quoted(text, 4);
    EXPECT_THROW(quoted.parser.ReadQuoted(), CSparseBasic::Error);

    Scanner bare(text, 3);
    EXPECT_EQ(3, bare.parser.ReadToken());
    EXPECT_EQ("\"ab", bare.Token());
    EXPECT_EQ(-1, bare.parser.Peek());
}

} // namespace
