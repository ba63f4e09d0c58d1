#include "carddata/FieldCodec.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace velkora {
namespace {

// Hands out the given r values in turn, then starts again.
std::function<int()> drawing(std::vector<int> values)
{
    return [values = std::move(values), next = std::size_t{0}]() mutable { return values[next++ % values.size()]; };
}

std::string encodeWith(std::string_view plain, std::vector<int> r)
{
    return encodeField(plain, DefaultAlphabet, drawing(std::move(r)));
}

TEST(FieldCodec, WorkedExamples)
{
    const struct {
        std::vector<int> r;
        const char* scrambled;
    } cases[] = {
        {{0}, "9IaIbI"},
        {{5}, "cNfNeN"},
        {{1, 2, 3}, "8J8K8L"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scrambled);
        EXPECT_EQ(encodeWith("abc", c.r), c.scrambled);
        EXPECT_EQ(decodeField(c.scrambled), "abc");
    }
}

TEST(FieldCodec, MalformedInputDecodesByTheRules)
{
    const struct {
        std::string scrambled;
        std::string plain;
    } cases[] = {
        {"", ""},
        {"9", "#"},               // odd length: the last character alone
        {"9Ia", "a$"},
        {"!", "\xFE"},            // lone character outside the alphabet: -2
        {"!I", "<"},              // first character outside the alphabet: e = -2
        {"9!", "\xDD"},           // second character outside the alphabet: r = -2
        {"!!", ""},               // -2 XOR -2 is zero: the text ends
        {"AA", ""},               // zero byte ends the text
        {"AA9I", ""},
        {"9IAA9I", "a"},
        {"9Iz", "a="},            // lone z: its position 61
        {"zz", "\xEA"},           // t = 7, r = 5: (7 * 62 + 61) mod 256 = 239, XOR 5
        {"9i", "]"},              // t = 5, r = 4: (5 * 62 + 35) mod 256 = 89, XOR 4
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scrambled);
        EXPECT_EQ(decodeField(c.scrambled), c.plain);
    }
}

TEST(FieldCodec, EveryByteSurvivesUnderEveryR)
{
    for (int r = 0; r <= 5; ++r) {
        std::string all;
        for (int b = 1; b <= 255; ++b) {
            const std::string plain(1, static_cast<char>(b));
            const std::string scrambled = encodeWith(plain, {r});
            SCOPED_TRACE("byte " + std::to_string(b) + " r " + std::to_string(r));
            ASSERT_EQ(scrambled.size(), 2u);
            const int v = b ^ r;
            EXPECT_EQ(scrambled[0], DefaultAlphabet[static_cast<std::size_t>(v % 62)]);
            EXPECT_EQ(scrambled[1], DefaultAlphabet[static_cast<std::size_t>(v / 62 * 8 + r)]);
            EXPECT_EQ(decodeField(scrambled), plain);
            all += plain;
        }
        const std::string scrambled = encodeWith(all, {r});
        EXPECT_EQ(scrambled.size(), 2 * all.size());
        EXPECT_EQ(decodeField(scrambled), all);
    }
}

TEST(FieldCodec, ChineseGridSurvivesWithChangingR)
{
    const std::string grid = "\xBF\xA8-13\r\n\x95\x32\x82\x36-\xA3\xB1"; // 卡-13, 𠀀-１
    const std::string scrambled = encodeWith(grid, {0, 1, 2, 3, 4, 5, 5, 3});
    EXPECT_EQ(scrambled.size(), 2 * grid.size());
    EXPECT_EQ(decodeField(scrambled), grid);
}

TEST(FieldCodec, RandomDrawsDifferButReadBackTheSame)
{
    const std::string plain(200, 'x');
    const std::string first = encodeField(plain);
    const std::string second = encodeField(plain);
    EXPECT_NE(first, second);
    EXPECT_EQ(first.size(), 400u);
    EXPECT_EQ(decodeField(first), plain);
    EXPECT_EQ(decodeField(second), plain);

    // Every value 0 to 5 is drawn, and nothing else: r is the second character's position mod 8.
    std::set<int> seen;
    for (std::size_t i = 1; i < first.size(); i += 2) {
        const auto position = static_cast<int>(DefaultAlphabet.find(first[i]));
        ASSERT_GE(position, 0);
        seen.insert(position % 8);
    }
    EXPECT_EQ(seen, (std::set<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(first.find_first_not_of(DefaultAlphabet), std::string::npos);
}

TEST(FieldCodec, EmptyTextAndZeroBytes)
{
    EXPECT_EQ(encodeField(""), "");
    EXPECT_EQ(decodeField(""), "");
    // A zero byte cannot be stored: the read-back text ends before it.
    EXPECT_EQ(decodeField(encodeWith(std::string("ab\0cd", 5), {3})), "ab");
}

TEST(FieldCodec, LongSerialNoLongerFitsItsColumn)
{
    EXPECT_EQ(encodeField(std::string(127, '7')).size(), 254u);
    EXPECT_GT(encodeField(std::string(128, '7')).size(), 255u);
}

TEST(FieldCodec, ShortestAlternativeAlphabetRoundTrips)
{
    const std::string_view alphabet = DefaultAlphabet.substr(16); // 46 characters, from Q on
    ASSERT_EQ(alphabet.size(), 46u);
    std::string all;
    for (int b = 1; b <= 255; ++b)
        all += static_cast<char>(b);
    for (int r = 0; r <= 5; ++r) {
        SCOPED_TRACE(r);
        const std::string scrambled = encodeField(all, alphabet, drawing({r}));
        EXPECT_EQ(scrambled.find_first_not_of(alphabet), std::string::npos);
        EXPECT_EQ(decodeField(scrambled, alphabet), all);
        EXPECT_NE(decodeField(scrambled), all); // the alphabet is part of the form
    }
}

} // namespace
} // namespace velkora
