#include "carddata/CoordinateLookup.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "carddata/Text.h"

namespace velkora {
namespace {

using Answers = std::vector<std::string>;

const char* const ExampleGrid = "13-15-23-45-55-82\r\n99-15-21-16-45-33\r\n72-33-55-66-88-99\r\n31-54-1-45-8-32";
const char* const AtoF = "A,B,C,D,E,F";

// Full-width forms in GBK: lead byte 0xA3, trail byte = ASCII + 0x80.
const std::string FwA = "\xA3\xC1";
const std::string Fw1 = "\xA3\xB1";
const std::string IdeographicSpace = "\xA1\xA1";

CardRecord card(std::string grid, std::string letters, Orientation orientation)
{
    CardRecord c;
    c.grid = std::move(grid);
    c.letters = std::move(letters);
    c.orientation = orientationText(orientation);
    return c;
}

std::string twelveRows()
{
    std::string grid;
    for (int row = 1; row <= 12; ++row)
        grid += "r" + std::to_string(row) + "a-r" + std::to_string(row) + "b\r\n";
    return grid;
}

struct AnswerCase {
    const char* name;
    CardRecord card;
    std::string cell1, cell2, cell3;
    Answers answers;
};

void PrintTo(const AnswerCase& c, std::ostream* os) { *os << c.name; }

class LookupAnswers : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(LookupAnswers, ReturnsTheCellsInOrder)
{
    const AnswerCase& c = GetParam();
    const CoordinateQuery q = lookupCells(c.card, c.cell1, c.cell2, c.cell3);
    ASSERT_TRUE(q.ok()) << gbToUtf8(q.error->message);
    EXPECT_EQ(q.answers, c.answers);
    EXPECT_EQ(q.count, static_cast<int>(c.answers.size()));
    std::string resultText;
    for (const std::string& a : c.answers)
        resultText += a + "\r\n\r\n";
    EXPECT_EQ(q.resultText, resultText);
}

const CardRecord Across = card(ExampleGrid, AtoF, Orientation::LettersAcross);
const CardRecord Down = card(ExampleGrid, AtoF, Orientation::LettersDown);

INSTANTIATE_TEST_SUITE_P(
    Cases, LookupAnswers,
    ::testing::Values(
        AnswerCase{"acrossA1", Across, "A1", "", "", {"13"}},
        AnswerCase{"acrossF4", Across, "F4", "", "", {"32"}},
        AnswerCase{"acrossC3", Across, "C3", "", "", {"55"}},
        AnswerCase{"acrossThreeCells", Across, "A1", "B2", "C3", {"13", "15", "55"}},
        AnswerCase{"acrossTwoCells", Across, "F1", "E4", "", {"82", "8"}},
        AnswerCase{"sameCellTwice", Across, "B2", "B2", "", {"15", "15"}},
        AnswerCase{"downA1", Down, "A1", "", "", {"13"}},
        AnswerCase{"downB2", Down, "B2", "", "", {"15"}},
        AnswerCase{"downD6", Down, "D6", "", "", {"32"}},
        AnswerCase{"downThreeCells", Down, "C1", "A6", "D3", {"72", "82", "1"}},
        AnswerCase{"cell3IgnoredAfterEmptyCell2", Across, "A1", "", "G9", {"13"}},
        AnswerCase{"cell3IgnoredEvenIfShort", Across, "A1", "", "x", {"13"}},
        AnswerCase{"twoDigitRow", card(twelveRows(), "A,B", Orientation::LettersAcross), "B12", "A10", "",
                   {"r12b", "r10a"}},
        AnswerCase{"twoDigitColumn", card("0-1-2-3-4-5-6-7-8-9-10-11-12", "A", Orientation::LettersDown), "A12",
                   "", "", {"11"}},
        AnswerCase{"strayLetterAfterDigit", Across, "A1x", "", "", {"13"}},
        AnswerCase{"leadingZero", Across, "A01", "", "", {"13"}},
        AnswerCase{"plusSign", Across, "A+2", "", "", {"99"}},
        AnswerCase{"blankBeforeNumber", Across, "A 3", "", "", {"72"}},
        AnswerCase{"fullWidthDigit", Across, "A" + Fw1, "", "", {"13"}},
        AnswerCase{"fullWidthDigitsAndSign", Across, "C\xA3\xAB\xA3\xB4", "", "", {"1"}}, // C＋４
        AnswerCase{"ideographicSpaceIsABlank", Across, "B" + IdeographicSpace + "3", "", "", {"33"}},
        AnswerCase{"fullWidthDigitThenAscii", card("0-1-2-3-4-5-6-7-8-9-10-11-12", "A", Orientation::LettersDown),
                   "A" + Fw1 + "2", "", "", {"11"}},
        AnswerCase{"emptyCellGivesEmptyAnswer", card("1--3", "A,B,C", Orientation::LettersAcross), "A1", "B1",
                   "C1", {"1", "", "3"}},
        AnswerCase{"chineseValues", card("\xBF\xA8-x\r\ny-\xBF\xA8\xBF\xA8", "A,B", Orientation::LettersAcross),
                   "B2", "A1", "", {"\xBF\xA8\xBF\xA8", "\xBF\xA8"}},
        AnswerCase{"firstMatchingLetterWins", card("1-2-3", "A,B,A", Orientation::LettersAcross), "A1", "", "",
                   {"1"}},
        AnswerCase{"lowerCaseLetters", card("1-2-3", "a,b,c", Orientation::LettersAcross), "c1", "", "", {"3"}},
        AnswerCase{"blankAsALetter", card("1-2-3", "A, ,C", Orientation::LettersAcross), " 1", "", "", {"2"}},
        AnswerCase{"shortRowsNotAddressedDoNotMatter",
                   card("1-2-3\r\n4\r\n\r\n7-8-9", "A,B,C", Orientation::LettersAcross), "C4", "A2", "", {"9", "4"}}),
    [](const ::testing::TestParamInfo<AnswerCase>& test) { return std::string(test.param.name); });

struct ErrorCase {
    const char* name;
    CardRecord card;
    std::string cell1, cell2, cell3;
    LookupErrorKind kind;
    int cell;
    std::string message; // GB18030
    const char* title;   // UTF-8
    bool focus;
};

void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.name; }

class LookupErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(LookupErrors, StopsAtTheFirstErrorWithoutAnswers)
{
    const ErrorCase& c = GetParam();
    const CoordinateQuery q = lookupCells(c.card, c.cell1, c.cell2, c.cell3);
    ASSERT_FALSE(q.ok());
    EXPECT_EQ(q.error->kind, c.kind);
    EXPECT_EQ(q.error->cell, c.cell);
    EXPECT_EQ(q.error->message, c.message) << gbToUtf8(q.error->message);
    EXPECT_EQ(q.error->title, utf8ToGb(c.title));
    EXPECT_EQ(q.error->focusCell, c.focus);
    EXPECT_TRUE(q.answers.empty());
    EXPECT_TRUE(q.resultText.empty());
}

std::string rowMessage(const std::string& coordinate)
{
    return utf8ToGb("数字(行)[") + coordinate + utf8ToGb("]坐标超出范围，请您检查或重新编辑！");
}
std::string columnMessage(const std::string& coordinate)
{
    return utf8ToGb("数字(列)[") + coordinate + utf8ToGb("]坐标超出范围，请您检查或重新编辑！");
}
std::string letterMessage(const std::string& coordinate)
{
    return "[" + coordinate + utf8ToGb("]超过密保卡字母长度范围！");
}
std::string formatMessage(const char* ordinal)
{
    return utf8ToGb(std::string(ordinal) + "坐标点输入有误！(格式为： 字母+数字 例如 A1 B2 C3)");
}
const std::string FirstCellMessage = utf8ToGb("第一格坐标值为必填项！（其余两格根据坐标情况选填！）");

using K = LookupErrorKind;

INSTANTIATE_TEST_SUITE_P(
    Cases, LookupErrors,
    ::testing::Values(
        ErrorCase{"firstCellEmpty", Across, "", "B2", "C3", K::FirstCellMissing, 1, FirstCellMessage, "", true},
        ErrorCase{"allCellsEmpty", Across, "", "", "", K::FirstCellMissing, 1, FirstCellMessage, "", true},
        ErrorCase{"firstCellEmptyBeforeFormat", Across, "", "B", "C", K::FirstCellMissing, 1, FirstCellMessage, "",
                  true},
        ErrorCase{"shortCell1", Across, "A", "B2", "C3", K::BadFormat, 1, formatMessage("第一格"), "", true},
        ErrorCase{"shortCell2", Across, "A1", "B", "C3", K::BadFormat, 2, formatMessage("第二格"), "", true},
        ErrorCase{"shortCell3", Across, "A1", "B2", "C", K::BadFormat, 3, formatMessage("第三格"), "", true},
        ErrorCase{"firstShortCellNamed", Across, "A1", "B", "C", K::BadFormat, 2, formatMessage("第二格"), "", true},
        ErrorCase{"formatBeforeLetter", Across, "G1", "H2", "I", K::BadFormat, 3, formatMessage("第三格"), "", true},
        ErrorCase{"rowAboveRange", Across, "A5", "", "", K::RowOutOfRange, 1, rowMessage("A5"), "", false},
        ErrorCase{"rowZero", Across, "A0", "", "", K::RowOutOfRange, 1, rowMessage("A0"), "", false},
        ErrorCase{"loneLetterAcross", Across, "A", "", "", K::RowOutOfRange, 1, rowMessage("A"), "", false},
        ErrorCase{"loneLetterInCell2", Across, "A1", "B", "", K::RowOutOfRange, 2, rowMessage("B"), "", false},
        ErrorCase{"negativeRow", Across, "A-1", "", "", K::RowOutOfRange, 1, rowMessage("A-1"), "", false},
        ErrorCase{"noDigits", Across, "Ax", "", "", K::RowOutOfRange, 1, rowMessage("Ax"), "", false},
        ErrorCase{"rowOutOfRangeInCell3", Across, "A1", "B2", "C9", K::RowOutOfRange, 3, rowMessage("C9"), "",
                  false},
        ErrorCase{"columnAboveRange", Down, "A7", "", "", K::ColumnOutOfRange, 1, columnMessage("A7"), "", false},
        ErrorCase{"columnZero", Down, "B0", "", "", K::ColumnOutOfRange, 1, columnMessage("B0"), "", false},
        ErrorCase{"loneLetterDown", Down, "A", "", "", K::ColumnOutOfRange, 1, columnMessage("A"), "", false},
        ErrorCase{"columnOfShortRow", card("1-2-3\r\n4", "A,B", Orientation::LettersDown), "B2", "", "",
                  K::ColumnOutOfRange, 1, columnMessage("B2"), "", false},
        ErrorCase{"letterNotInList", Across, "G1", "", "", K::LetterNotFound, 1, letterMessage("G1"), "错误", false},
        ErrorCase{"lowerCaseLetter", Across, "a1", "", "", K::LetterNotFound, 1, letterMessage("a1"), "错误", false},
        ErrorCase{"letterNotFoundDown", Down, "Z1", "", "", K::LetterNotFound, 1, letterMessage("Z1"), "错误", false},
        ErrorCase{"stopsAtCell2", Across, "A1", "G2", "B3", K::LetterNotFound, 2, letterMessage("G2"), "错误",
                  false},
        ErrorCase{"fullWidthLetter", Across, FwA + Fw1, "", "", K::LetterNotFound, 1, letterMessage(FwA + Fw1),
                  "错误", false},
        ErrorCase{"fullWidthLetterInList", card("1-2", FwA + ",B", Orientation::LettersAcross), FwA + "1", "", "",
                  K::LetterNotFound, 1, letterMessage(FwA + "1"), "错误", false},
        ErrorCase{"blankBeforeLetterInList", card("1-2", "A, B", Orientation::LettersAcross), "B1", "", "",
                  K::LetterNotFound, 1, letterMessage("B1"), "错误", false},
        ErrorCase{"twoLettersInOnePiece", card("1-2", "AB,C", Orientation::LettersAcross), "A1", "", "",
                  K::LetterNotFound, 1, letterMessage("A1"), "错误", false},
        ErrorCase{"blankCoordinateLetter", Across, " A1", "", "", K::LetterNotFound, 1, letterMessage(" A1"),
                  "错误", false},
        ErrorCase{"emptyCardAcross", card("", "", Orientation::LettersAcross), "A1", "", "", K::LetterNotFound, 1,
                  letterMessage("A1"), "错误", false},
        ErrorCase{"emptyCardDown", card("", "", Orientation::LettersDown), "A", "", "", K::LetterNotFound, 1,
                  letterMessage("A"), "错误", false},
        ErrorCase{"letterBeforeNumber", Across, "G9", "", "", K::LetterNotFound, 1, letterMessage("G9"), "错误",
                  false}),
    [](const ::testing::TestParamInfo<ErrorCase>& test) { return std::string(test.param.name); });

// A letter in the list with no cell to answer: a short later row across, too few rows down.
struct BeyondCase {
    const char* name;
    CardRecord card;
    std::string cell1, cell2;
    int cell;
    std::string coordinate;
};

void PrintTo(const BeyondCase& c, std::ostream* os) { *os << c.name; }

class LetterBeyondGrid : public ::testing::TestWithParam<BeyondCase> {};

TEST_P(LetterBeyondGrid, StopsWithoutAnAnswer)
{
    const BeyondCase& c = GetParam();
    const CoordinateQuery q = lookupCells(c.card, c.cell1, c.cell2, "");
    ASSERT_FALSE(q.ok());
    EXPECT_EQ(q.error->kind, LookupErrorKind::LetterBeyondGrid);
    EXPECT_EQ(q.error->cell, c.cell);
    EXPECT_NE(q.error->message.find("[" + c.coordinate + "]"), std::string::npos) << gbToUtf8(q.error->message);
    EXPECT_EQ(q.error->title, utf8ToGb("错误"));
    EXPECT_FALSE(q.error->focusCell);
    EXPECT_TRUE(q.answers.empty());
    EXPECT_TRUE(q.resultText.empty());
}

const CardRecord ShortSecondRow = card("1-2-3\r\n4-5\r\n6-7-8", "A,B,C", Orientation::LettersAcross);
const CardRecord TwoRowsThreeLetters = card("1-2\r\n3-4", "A,B,C", Orientation::LettersDown);

INSTANTIATE_TEST_SUITE_P(
    Cases, LetterBeyondGrid,
    ::testing::Values(BeyondCase{"acrossShortRow", ShortSecondRow, "C2", "", 1, "C2"},
                      BeyondCase{"acrossShortRowInCell2", ShortSecondRow, "C3", "C2", 2, "C2"},
                      BeyondCase{"acrossEmptyRow", card("1-2\r\n\r\n3-4", "A,B", Orientation::LettersAcross), "A2",
                                 "", 1, "A2"},
                      BeyondCase{"downTooFewRows", TwoRowsThreeLetters, "C1", "", 1, "C1"},
                      BeyondCase{"downBeforeColumnCheck", TwoRowsThreeLetters, "C9", "", 1, "C9"},
                      BeyondCase{"downInCell2", TwoRowsThreeLetters, "B2", "C1", 2, "C1"}),
    [](const ::testing::TestParamInfo<BeyondCase>& test) { return std::string(test.param.name); });

TEST(LetterBeyondGrid, NeighbouringCellsStillAnswer)
{
    EXPECT_EQ(lookupCells(ShortSecondRow, "C1", "B2", "C3").answers, (Answers{"3", "5", "8"}));
    EXPECT_EQ(lookupCells(TwoRowsThreeLetters, "B2", "", "").answers, (Answers{"4"}));
}

TEST(ParseCoordinate, SplitsFirstByteFromTheNumber)
{
    const Coordinate plain = parseCoordinate("B12");
    EXPECT_EQ(plain.letter, 'B');
    EXPECT_EQ(plain.numberText, "12");
    EXPECT_EQ(plain.number, 12);

    const Coordinate lone = parseCoordinate("B");
    EXPECT_EQ(lone.letter, 'B');
    EXPECT_EQ(lone.numberText, "");
    EXPECT_EQ(lone.number, 0);

    const Coordinate fullWidth = parseCoordinate(FwA + Fw1); // the letter is the lead byte
    EXPECT_EQ(fullWidth.letter, '\xA3');
    EXPECT_EQ(fullWidth.numberText, "\xC1" + Fw1);
    EXPECT_EQ(fullWidth.number, 0);
}

struct IntegerCase {
    std::string text;
    std::int32_t value;
};

TEST(TextToInteger, ReadsLikeTheCLibraryAfterFullWidthForms)
{
    constexpr auto max = std::numeric_limits<std::int32_t>::max();
    constexpr auto min = std::numeric_limits<std::int32_t>::min();
    const IntegerCase cases[] = {
        {"", 0},
        {"1", 1},
        {"01", 1},
        {"12x", 12},
        {" 3", 3},
        {"\t\n\v\f\r 9", 9},
        {"x1", 0},
        {"-5", -5},
        {"+7", 7},
        {"+-3", 0},
        {"- 3", 0},
        {"1 2", 1},
        {"007", 7},
        {"2147483647", max},
        {"-2147483648", min},
        {"\xA3\xB1\xA3\xB2", 12},                   // １２
        {"\xA3\xAD\xA3\xB3", -3},                   // －３
        {"\xA3\xAB\xA3\xB4", 4},                    // ＋４
        {"\xA3\xB1" "2", 12},                       // full-width and ASCII digits mix
        {"\xA1\xA1" "5", 5},                        // ideographic space, then 5
        {"\xA1\xA1\xA1\xA1\xA3\xB8", 8},
        {"\xA3\xB9\xA3\xF8", 9},                    // ９ｘ
        {"\xA3\xC1" "1", 0},                        // Ａ1: a letter, not a digit
        {"\xA3\xA0" "1", 0},                        // A3 A0 is no full-width form
        {"\xBF\xA8" "1", 0},                        // 卡1
        {"1\xA3", 1},                               // lone lead byte at the end
        {"\xA1\xA2" "1", 0},                        // 、 is no blank
        {"\x81\x30\xA3\x30" "1", 0},                // four-byte character, not a full-width form
    };
    for (const IntegerCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.text));
        EXPECT_EQ(textToInteger(c.text), c.value);
    }
}

TEST(TextToInteger, NumbersBeyondTheRangeDoNotFail)
{
    std::string fullWidthNines;
    for (int i = 0; i < 30; ++i)
        fullWidthNines += "\xA3\xB9";
    const std::string texts[] = {"2147483648", "-2147483649", "99999999999999999999999", "18446744073709551617",
                                 std::string(5000, '9'), "-" + std::string(5000, '9'), fullWidthNines};
    for (const std::string& text : texts) {
        SCOPED_TRACE(text.substr(0, 30));
        textToInteger(text); // any value will do; under the sanitizers this must not overflow
    }
}

// No card has that many rows or cells: a huge number never answers and never fails.
TEST(LookupCells, HugeNumbersAreOutOfRange)
{
    const std::string coordinates[] = {"A99999999999999999999", "A-99999999999999999999", "D4294967297",
                                       "B2147483648", "C" + std::string(300, '9')};
    for (const std::string& coordinate : coordinates) {
        SCOPED_TRACE(coordinate);
        for (const CardRecord* c : {&Across, &Down}) {
            const CoordinateQuery q = lookupCells(*c, coordinate, "", "");
            ASSERT_FALSE(q.ok());
            EXPECT_EQ(q.error->kind, c == &Across ? LookupErrorKind::RowOutOfRange : LookupErrorKind::ColumnOutOfRange);
        }
    }
}

} // namespace
} // namespace velkora
