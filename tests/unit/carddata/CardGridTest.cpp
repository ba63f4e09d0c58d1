#include "carddata/CardGrid.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "carddata/Text.h"

namespace velkora {
namespace {

using Pieces = std::vector<std::string>;

const char* const ExampleGrid = "13-15-23-45-55-82\r\n99-15-21-16-45-33\r\n72-33-55-66-88-99\r\n31-54-1-45-8-32";

struct SplitCase {
    const char* name;
    std::string text;
    std::string delimiter;
    Pieces pieces;
};

void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.name; }

class SplitText : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitText, CutsAtEveryDelimiter)
{
    const SplitCase& c = GetParam();
    EXPECT_EQ(splitText(c.text, c.delimiter), c.pieces);
}

INSTANTIATE_TEST_SUITE_P(
    Pieces, SplitText,
    ::testing::Values(
        SplitCase{"three", "A,B,C", ",", {"A", "B", "C"}},
        SplitCase{"finalDelimiterGivesNoEmptyPiece", "A,B,C,", ",", {"A", "B", "C"}},
        SplitCase{"leadingEmptyPieceStays", ",A", ",", {"", "A"}},
        SplitCase{"middleEmptyPieceStays", "A,,B", ",", {"A", "", "B"}},
        SplitCase{"loneDelimiter", ",", ",", {""}},
        SplitCase{"twoDelimiters", ",,", ",", {"", ""}},
        SplitCase{"emptyText", "", ",", {}},
        SplitCase{"emptyTextEmptyDelimiter", "", "", {}},
        SplitCase{"emptyDelimiterKeepsWholeText", "A,B", "", {"A,B"}},
        SplitCase{"noDelimiter", "ABC", ",", {"ABC"}},
        SplitCase{"blanksBelongToThePiece", "A, B ,C", ",", {"A", " B ", "C"}},
        SplitCase{"gridRowsWithEmptyMiddleLine", "1-2\r\n\r\n3-4\r\n", "\r\n", {"1-2", "", "3-4"}},
        SplitCase{"loneLineBreak", "\r\n", "\r\n", {""}},
        SplitCase{"bareLineFeedIsNoRowBreak", "1-2\n3-4\r4", "\r\n", {"1-2\n3-4\r4"}},
        SplitCase{"answers", "13\r\n\r\n15\r\n\r\n\r\n\r\n55\r\n\r\n", "\r\n\r\n", {"13", "15", "", "55"}},
        SplitCase{"textShorterThanDelimiter", "A\r\n", "\r\n\r\n", {"A\r\n"}},
        SplitCase{"matchesDoNotOverlap", "aaa", "aa", {"", "a"}},
        SplitCase{"placeholderAtAnswerBreaks", "-\r\n\r\n-\r\n\r\n-", "\r\n\r\n", {"-", "-", "-"}},
        // Double-byte characters: the scan never starts a match on a trail byte.
        SplitCase{"chineseCells", "\xBF\xA8-\xBF\xA8", "-", {"\xBF\xA8", "\xBF\xA8"}},
        SplitCase{"trailByteIsTheDelimiter", "\x81\x5C\\X", "\\", {"\x81\x5C", "X"}},        // 乗 = 81 5C
        SplitCase{"trailByteIsALetter", "\x81\x41" "A\x81\x41", "A", {"\x81\x41", "\x81\x41"}}, // 丄 = 81 41
        SplitCase{"trailByteIsAPipe", "\x81\x7C|\x81\x7C", "|", {"\x81\x7C", "\x81\x7C"}},      // 亅 = 81 7C
        SplitCase{"delimiterAcrossTwoCharacters", "\xBF\xA8\xBF\xA8", "\xA8\xBF", {"\xBF\xA8\xBF\xA8"}},
        SplitCase{"chineseDelimiter", "A\xBF\xA8" "B\xBF\xA8", "\xBF\xA8", {"A", "B"}},
        SplitCase{"chineseDelimiterTwice", "\xBF\xA8\xBF\xA8", "\xBF\xA8", {"", ""}},
        SplitCase{"leadByteTakesTheNextByte", "A\x81,B", ",", {"A\x81,B"}},
        SplitCase{"loneLeadByteAtTheEnd", "A,\x81", ",", {"A", "\x81"}},
        // Four-byte GB18030 characters (𠀀 = 95 32 82 36) are scanned as one character.
        SplitCase{"fourByteCharacterBetweenCommas", "\x95\x32\x82\x36,\x94\x39\xFC\x36", ",",
                  {"\x95\x32\x82\x36", "\x94\x39\xFC\x36"}},
        SplitCase{"digitInsideFourByteCharacter", "\x95\x32\x82\x36" "2", "2", {"\x95\x32\x82\x36"}},
        SplitCase{"lastDigitInsideFourByteCharacter", "\x95\x32\x82\x36" "6", "6", {"\x95\x32\x82\x36"}},
        SplitCase{"fourByteDelimiter", "A\x95\x32\x82\x36" "B", "\x95\x32\x82\x36", {"A", "B"}},
        // 82 36 95 32 is a character of its own; it lies across two 𠀀 and must not be found there.
        SplitCase{"fourByteDelimiterAcrossTwoCharacters", "\x95\x32\x82\x36\x95\x32\x82\x36",
                  "\x82\x36\x95\x32", {"\x95\x32\x82\x36\x95\x32\x82\x36"}}),
    [](const ::testing::TestParamInfo<SplitCase>& test) { return std::string(test.param.name); });

TEST(ParseCard, CutsRowsThenCellsAndLetters)
{
    const CardGrid card = parseCard(ExampleGrid, "A,B,C,D,E,F", utf8ToGb("横向字母"));
    ASSERT_EQ(card.rows.size(), 4u);
    for (const auto& row : card.rows)
        EXPECT_EQ(row.size(), 6u);
    EXPECT_EQ(card.rows[3], (Pieces{"31", "54", "1", "45", "8", "32"}));
    EXPECT_EQ(card.letters, (Pieces{"A", "B", "C", "D", "E", "F"}));
    EXPECT_EQ(card.orientation, Orientation::LettersAcross);
}

TEST(ParseCard, KeepsCellsAndLettersExactlyAsTyped)
{
    const auto rows = parseGrid("1--3- x\r\n\r\nab-\xBF\xA8\r\n");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (Pieces{"1", "", "3", " x"}));
    EXPECT_TRUE(rows[1].empty()); // an empty line is a row without cells
    EXPECT_EQ(rows[2], (Pieces{"ab", "\xBF\xA8"}));

    EXPECT_EQ(parseLetters("A, B,c,"), (Pieces{"A", " B", "c"}));
    EXPECT_TRUE(parseLetters("").empty());
    EXPECT_TRUE(parseGrid("").empty());
}

TEST(Orientation, OnlyTheExactAcrossTextReadsAsAcross)
{
    const std::string across = utf8ToGb("横向字母");
    const std::string down = utf8ToGb("竖向字母");
    const std::pair<std::string, Orientation> cases[] = {
        {across, Orientation::LettersAcross},
        {down, Orientation::LettersDown},
        {"", Orientation::LettersDown},
        {across + " ", Orientation::LettersDown},
        {" " + across, Orientation::LettersDown},
        {across.substr(0, 4), Orientation::LettersDown},
        {"横向字母", Orientation::LettersDown}, // the UTF-8 bytes are not the stored text
        {"LettersAcross", Orientation::LettersDown},
    };
    for (const auto& [text, orientation] : cases) {
        SCOPED_TRACE(::testing::PrintToString(text));
        EXPECT_EQ(orientationFromText(text), orientation);
    }

    EXPECT_EQ(orientationText(Orientation::LettersAcross), "\xBA\xE1\xCF\xF2\xD7\xD6\xC4\xB8");
    EXPECT_EQ(orientationText(Orientation::LettersDown), down);
    EXPECT_EQ(orientationFromText(orientationText(Orientation::LettersDown)), Orientation::LettersDown);
}

struct ShapeCase {
    const char* name;
    std::string grid;
    std::string letters;
    Orientation orientation;
    bool passes;
    int letterCount = 0;
    int measuredCount = 0;
    const char* message = ""; // UTF-8
};

void PrintTo(const ShapeCase& c, std::ostream* os) { *os << c.name; }

class ValidateShape : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(ValidateShape, ComparesTheMeasuredSideWithTheLetters)
{
    const ShapeCase& c = GetParam();
    const auto mismatch = validateShape(c.grid, c.letters, c.orientation);
    if (c.passes) {
        EXPECT_FALSE(mismatch.has_value()) << gbToUtf8(mismatch->message);
        return;
    }
    ASSERT_TRUE(mismatch.has_value());
    EXPECT_EQ(gbToUtf8(mismatch->message), c.message);
    EXPECT_EQ(mismatch->message, utf8ToGb(c.message)); // the stored form is GB18030
    EXPECT_EQ(mismatch->letterCount, c.letterCount);
    EXPECT_EQ(mismatch->measuredCount, c.measuredCount);
    EXPECT_EQ(gbToUtf8(mismatch->label),
              c.orientation == Orientation::LettersAcross ? "  横向" : "  竖向");
    EXPECT_EQ(gbToUtf8(mismatch->title), "密保卡字母行/列错误！");
}

const char* const AtoF = "A,B,C,D,E,F";
const char* const AtoZ = "A,B,C,D,E,F,G,H,I,J,K,L,M,N,O,P,Q,R,S,T,U,V,W,X,Y,Z";

INSTANTIATE_TEST_SUITE_P(
    Cases, ValidateShape,
    ::testing::Values(
        ShapeCase{"exampleAcrossPasses", ExampleGrid, AtoF, Orientation::LettersAcross, true},
        ShapeCase{"exampleDownFails", ExampleGrid, AtoF, Orientation::LettersDown, false, 6, 4,
                  "密保卡参数与字母串长度不符！（字母长度：6  竖向坐标长度：4）"},
        ShapeCase{"defaultLettersAcrossFail", ExampleGrid, AtoZ, Orientation::LettersAcross, false, 26, 6,
                  "密保卡参数与字母串长度不符！（字母长度：26  横向坐标长度：6）"},
        ShapeCase{"downWithFourLettersPasses", ExampleGrid, "A,B,C,D", Orientation::LettersDown, true},
        ShapeCase{"onlyFirstRowMeasuredAcross", "1-2-3\r\n4\r\n5-6-7-8-9", "A,B,C",
                  Orientation::LettersAcross, true},
        ShapeCase{"shortFirstRowFailsAcross", "1-2\r\n4-5-6", "A,B,C", Orientation::LettersAcross, false, 3, 2,
                  "密保卡参数与字母串长度不符！（字母长度：3  横向坐标长度：2）"},
        ShapeCase{"cellsNotLookedAtDown", "1\r\n2-3-4-5", "A,B", Orientation::LettersDown, true},
        ShapeCase{"emptyLineCountsDown", "1-2\r\n\r\n3-4", "A,B,C", Orientation::LettersDown, true},
        ShapeCase{"finalLineBreakAddsNoRowDown", "1-2\r\n3-4\r\n", "A,B", Orientation::LettersDown, true},
        ShapeCase{"finalLineBreakAddsNoRowDownMismatch", "1-2\r\n3-4\r\n", "A,B,C", Orientation::LettersDown,
                  false, 3, 2, "密保卡参数与字母串长度不符！（字母长度：3  竖向坐标长度：2）"},
        ShapeCase{"finalLineBreakAcross", "1-2\r\n", "A,B", Orientation::LettersAcross, true},
        ShapeCase{"finalCommaAddsNoLetter", "1-2-3", "A,B,C,", Orientation::LettersAcross, true},
        ShapeCase{"emptyLetterCounts", "1-2-3", "A,,C", Orientation::LettersAcross, true},
        ShapeCase{"finalDashAddsNoCell", "1-2-3-", "A,B,C", Orientation::LettersAcross, true},
        ShapeCase{"noLettersAgainstEmptyFirstLine", "\r\n1-2", "", Orientation::LettersAcross, true},
        ShapeCase{"noLettersAgainstOneCell", "1", "", Orientation::LettersAcross, false, 0, 1,
                  "密保卡参数与字母串长度不符！（字母长度：0  横向坐标长度：1）"},
        ShapeCase{"emptyGridAcross", "", "A", Orientation::LettersAcross, false, 1, 0,
                  "密保卡参数与字母串长度不符！（字母长度：1  横向坐标长度：0）"},
        ShapeCase{"chineseCells", "\xBF\xA8-\xBF\xA8", "A,B", Orientation::LettersAcross, true},
        ShapeCase{"manyRowsDown", [] {
                      std::string g;
                      for (int i = 0; i < 12; ++i)
                          g += "1-2\r\n";
                      return g;
                  }(),
                  "A,B", Orientation::LettersDown, false, 2, 12,
                  "密保卡参数与字母串长度不符！（字母长度：2  竖向坐标长度：12）"}),
    [](const ::testing::TestParamInfo<ShapeCase>& test) { return std::string(test.param.name); });

} // namespace
} // namespace velkora
