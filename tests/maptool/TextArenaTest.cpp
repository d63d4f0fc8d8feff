// CMapString and CTextArena: texts kept whole and ordered by unsigned bytes.
#include "TextArena.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

TEST(TextArenaTest, TextsOfEveryLengthComeBackWhole)
{
    CTextArena arena;
    std::vector<std::string> texts;
    for (std::size_t n : {0u, 1u, 7u, 8u, 100u, 300000u, 2000000u}) {
        std::string text(n, 'x');
        for (std::size_t i = 0; i < n; ++i)
            text[i] = static_cast<char>(i * 7);  // NUL and high bytes included
        texts.push_back(text);
    }
    std::vector<CMapString> strings;
    for (const std::string& text : texts)
        strings.push_back(arena.Make(text));
    for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(texts[i].size(), strings[i].GetLength());
        EXPECT_EQ(texts[i], strings[i].View()) << "text " << i;
    }
    EXPECT_TRUE(CMapString().IsEmpty());
}

TEST(TextArenaTest, OrderIsByUnsignedBytesThenLength)
{
    CTextArena arena;
    std::set<CMapString> ordered;
    const std::vector<std::string> sorted = {"",        std::string("\0", 1), "Name",     "Zebra",      "name",
                                             "name\x01", "namespace_long",      "noname10", "noname9", "\x80",
                                             "\xe9t\xe9"};
    for (auto it = sorted.rbegin(); it != sorted.rend(); ++it)
        ordered.insert(arena.Make(*it));
    std::vector<std::string> got;
    for (const CMapString& s : ordered)
        got.emplace_back(s.View());
    EXPECT_EQ(sorted, got);
    EXPECT_EQ(arena.Make("namespace_long"), arena.Make("namespace_long"));
    EXPECT_NE(arena.Make("name"), arena.Make("Name"));
}

} // namespace
