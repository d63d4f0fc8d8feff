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
    Scanner s("\xff");
    EXPECT_EQ(0xff, s.parser.Peek()) << "bytes are unsigned";
    s.parser.Advance();
    s.parser.Advance();
    EXPECT_EQ(-1, s.parser.Peek());
    EXPECT_EQ(1u, s.cursor.nPos);
}

TEST(SparseBasicTest, OnlyTabLineFeedCarriageReturnAndBlankAreWhiteSpace)
{
    for (const char stop : std::string("\f\v\0\x80\xa0", 5)) {
        Scanner s(std::string(" \t\r\n") + stop + "y ");
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
    EXPECT_EQ(0, s.parser.ReadToken()) << "nothing to read on white space";
    s.parser.SkipSpaces();
    EXPECT_EQ(10, s.parser.ReadToken());
    EXPECT_EQ("\"name\"x{(}", s.Token());
    s.parser.SkipSpaces();
    EXPECT_EQ(3, s.parser.ReadToken());
    EXPECT_EQ("//c", s.Token());
}

TEST(SparseBasicTest, QuotedStringEndsAtTheNextQuoteAndKeepsEverythingBefore)
{
    Scanner s(std::string("\"a b\"c \"x\r\n\\y\0z\" \"\"", 19));
    EXPECT_EQ(3, s.parser.ReadQuoted());
    EXPECT_EQ("a b", s.Token());
    EXPECT_EQ('c', s.parser.Peek());
    s.parser.Advance();
    s.parser.SkipSpaces();
    EXPECT_EQ(7, s.parser.ReadQuoted());
    EXPECT_EQ(std::string("x\r\n\\y\0z", 7), s.Token());
    s.parser.SkipSpaces();
    EXPECT_EQ(0, s.parser.ReadQuoted());
    EXPECT_EQ("", s.Token());
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
    Scanner quoted("\"abc\" x", 4);
    EXPECT_THROW(quoted.parser.ReadQuoted(), CSparseBasic::Error);

    Scanner bare("\"abc\" x", 3);
    EXPECT_EQ(3, bare.parser.ReadToken());
    EXPECT_EQ("\"ab", bare.Token());
}

} // namespace
