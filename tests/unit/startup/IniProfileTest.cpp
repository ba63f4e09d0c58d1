#include "startup/IniProfile.h"

#include <gtest/gtest.h>

#include <string>

#include "carddata/Text.h"

namespace velkora {
namespace {

// Every text below is written in UTF-8 and turned into the GB18030 bytes the profile works on.
std::string gb(std::string_view utf8) { return utf8ToGb(utf8); }

std::string shown(std::string_view gbText) { return gbToUtf8(gbText); }

template <typename Case>
std::string caseName(const ::testing::TestParamInfo<Case>& info)
{
    return info.param.name;
}

// ---------------------------------------------------------------------------------------------
// Reading

struct ReadCase {
    const char* name;
    const char* file;
    const char* section;
    const char* key;
    const char* expected; // "<default>" is passed as the default
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class ReadProfile : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadProfile, GivesTheValueOrTheDefault)
{
    const ReadCase& c = GetParam();
    EXPECT_EQ(shown(readProfileString(gb(c.file), gb(c.section), gb(c.key), "<default>")), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lookup, ReadProfile,
    ::testing::Values(
        ReadCase{"emptyFile", "", "Soft", "AutoSearch", "<default>"},
        ReadCase{"missingSection", "[hotkey]\r\nonehot=0\r\n", "Soft", "AutoSearch", "<default>"},
        ReadCase{"missingKey", "[Soft]\r\nAutoLine=0\r\n", "Soft", "AutoSearch", "<default>"},
        ReadCase{"presentButEmptyIsNotTheDefault", "[run]\r\nvote=\r\n", "run", "vote", ""},
        ReadCase{"presentButOnlyBlanks", "[run]\r\nvote=  \t\r\n", "run", "vote", ""},
        ReadCase{"sectionNameIgnoresCase", "[SOFT]\r\nAutoSearch=0\r\n", "Soft", "AutoSearch", "0"},
        ReadCase{"keyNameIgnoresCase", "[Soft]\r\nautosearch=0\r\n", "Soft", "AutoSearch", "0"},
        ReadCase{"valueKeepsItsCase", "[mdb]\r\nbakauto=True\r\n", "mdb", "bakauto", "True"},
        ReadCase{"trailingSpaceTrimmed", "[Soft]\r\nAutoSearch=1 \r\n", "Soft", "AutoSearch", "1"},
        ReadCase{"blanksAroundEverything", "\t[Soft]  \r\n  AutoSearch \t= \t1\t \r\n", "Soft", "AutoSearch", "1"},
        ReadCase{"blanksInsideBrackets", "[ Soft ]\r\nAutoSearch=0\r\n", "Soft", "AutoSearch", "0"},
        ReadCase{"innerBlanksKept", "[mdb]\r\nbaktime= 2011年2月3日 9时 \r\n", "mdb", "baktime", "2011年2月3日 9时"},
        ReadCase{"lfLines", "[Soft]\nAutoLine=1\nAutoSearch=0\n", "Soft", "AutoSearch", "0"},
        ReadCase{"lastLineWithoutEnd", "[Soft]\r\nAutoSearch=0", "Soft", "AutoSearch", "0"},
        ReadCase{"equalsSignInValue", "[Soft]\r\nAutoSearch=a=b\r\n", "Soft", "AutoSearch", "a=b"},
        ReadCase{"quotesStripped", "[Soft]\r\nAutoSearch=\"1\"\r\n", "Soft", "AutoSearch", "1"},
        ReadCase{"unmatchedQuoteKept", "[Soft]\r\nAutoSearch=\"1\r\n", "Soft", "AutoSearch", "\"1"},
        ReadCase{"firstOfDuplicateKeysWins", "[Soft]\r\nAutoSearch=0\r\nAutoSearch=1\r\n", "Soft", "AutoSearch", "0"},
        ReadCase{"onlyTheFirstSectionOfAName", "[Soft]\r\nAutoLine=1\r\n[Soft]\r\nAutoSearch=0\r\n", "Soft",
                 "AutoSearch", "<default>"},
        ReadCase{"keysBeforeAnySectionIgnored", "AutoSearch=0\r\n[Soft]\r\nAutoLine=1\r\n", "Soft", "AutoSearch",
                 "<default>"},
        ReadCase{"keyOfAnotherSectionIgnored", "[hotkey]\r\nAutoSearch=0\r\n[Soft]\r\n", "Soft", "AutoSearch",
                 "<default>"},
        ReadCase{"commentIsNoKey", "[Soft]\r\n;AutoSearch=0\r\n", "Soft", "AutoSearch", "<default>"},
        ReadCase{"lineWithoutEqualsIsNoKey", "[Soft]\r\nAutoSearch\r\n", "Soft", "AutoSearch", "<default>"},
        ReadCase{"utf8MarkBeforeFirstSection", "\xEF\xBB\xBF[Soft]\r\nAutoSearch=0\r\n", "Soft", "AutoSearch", "0"},
        ReadCase{"chineseValue", "[mdb]\r\nbaktime=2011年2月3日9时5分7秒\r\n", "mdb", "baktime", "2011年2月3日9时5分7秒"},
        ReadCase{"chineseNames", "[设置]\r\n选项=开\r\n", "设置", "选项", "开"},
        // "乚" is 0x81 0x5D: its second byte is "]", which must not close the section name.
        ReadCase{"bracketAsSecondByte", "[乚]\r\nk=1\r\n", "乚", "k", "1"},
        // "丄" (0x81 0x41) and "乤" (0x81 0x61) differ only in the case of a second byte.
        ReadCase{"secondBytesNeverFolded", "[s]\r\n丄=1\r\n", "s", "乤", "<default>"},
        ReadCase{"sameDoubleByteNameMatches", "[s]\r\n丄=1\r\n", "s", "丄", "1"}),
    caseName<ReadCase>);

TEST(ReadProfileBuffer, ValueAndDefaultAreCutToFitTenThousandTwoHundredFortyBytes)
{
    const auto fileWith = [](const std::string& value) { return "[mdb]\r\nbaktime=" + value + "\r\n"; };
    for (const std::size_t length : {std::size_t{10238}, std::size_t{10239}, std::size_t{10240}, std::size_t{20000}}) {
        const std::string value(length, 'x');
        const std::size_t kept = std::min<std::size_t>(length, 10239);
        EXPECT_EQ(readProfileString(fileWith(value), "mdb", "baktime", "").size(), kept) << length;
        EXPECT_EQ(readProfileString("", "mdb", "baktime", value).size(), kept) << length;
    }

    // 5120 double-byte characters fill 10240 bytes: the cut keeps 5119 whole characters.
    std::string chinese;
    for (int i = 0; i < 5120; ++i)
        chinese += gb("年");
    const std::string read = readProfileString(fileWith(chinese), "mdb", "baktime", "");
    EXPECT_EQ(read.size(), 10238u);
    EXPECT_EQ(read, chinese.substr(0, 10238));
}

// ---------------------------------------------------------------------------------------------
// Writing

struct WriteCase {
    const char* name;
    const char* before;
    const char* section;
    const char* key;
    const char* value;
    const char* after;
};

void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.name; }

class WriteProfile : public ::testing::TestWithParam<WriteCase> {};

TEST_P(WriteProfile, ChangesOnlyTheKeyAndReadsBack)
{
    const WriteCase& c = GetParam();
    const std::string after = writeProfileString(gb(c.before), gb(c.section), gb(c.key), gb(c.value));
    EXPECT_EQ(shown(after), c.after);
    EXPECT_EQ(shown(readProfileString(after, gb(c.section), gb(c.key), "<default>")), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Update, WriteProfile,
    ::testing::Values(
        WriteCase{"newFile", "", "Soft", "AutoSearch", "0", "[Soft]\r\nAutoSearch=0\r\n"},
        WriteCase{"replaceInPlace", "[Soft]\r\nAutoSearch=1\r\nAutoLine=1\r\n", "Soft", "AutoSearch", "0",
                  "[Soft]\r\nAutoSearch=0\r\nAutoLine=1\r\n"},
        WriteCase{"replaceKeepsNameSpellingAndBlanks", "[soft]\r\n  autosearch = 1  \r\nAutoLine=1\r\n", "Soft",
                  "AutoSearch", "0", "[soft]\r\n  autosearch = 0\r\nAutoLine=1\r\n"},
        WriteCase{"replaceLastLineWithoutEnd", "[Soft]\r\nAutoSearch=1", "Soft", "AutoSearch", "0",
                  "[Soft]\r\nAutoSearch=0"},
        WriteCase{"replaceWithEmpty", "[mdb]\r\nbaktime=2011年2月3日\r\nbakauto=true\r\n", "mdb", "baktime", "",
                  "[mdb]\r\nbaktime=\r\nbakauto=true\r\n"},
        WriteCase{"replaceFirstOfDuplicates", "[Soft]\r\nAutoSearch=1\r\nAutoSearch=1\r\n", "Soft", "AutoSearch", "0",
                  "[Soft]\r\nAutoSearch=0\r\nAutoSearch=1\r\n"},
        WriteCase{"newKeyAfterLastKeyOfSection",
                  "[Soft]\nAutoSearch=1\n\n; typing\n[hotkey]\nonehot=1\n", "Soft", "AutoLine", "0",
                  "[Soft]\nAutoSearch=1\nAutoLine=0\n\n; typing\n[hotkey]\nonehot=1\n"},
        WriteCase{"newKeyInEmptySection", "[mdb]\r\n[run]\r\nvote=1\r\n", "mdb", "baktime", "2011年2月3日",
                  "[mdb]\r\nbaktime=2011年2月3日\r\n[run]\r\nvote=1\r\n"},
        WriteCase{"newKeyAfterLastLineWithoutEnd", "[Soft]\nAutoSearch=1", "Soft", "AutoLine", "1",
                  "[Soft]\nAutoSearch=1\nAutoLine=1\n"},
        WriteCase{"newKeyGoesToFirstSectionOfItsName", "[Soft]\nA=1\n[Soft]\nB=2\n", "Soft", "B", "3",
                  "[Soft]\nA=1\nB=3\n[Soft]\nB=2\n"},
        WriteCase{"newSectionAtEnd", "[Soft]\r\nAutoSearch=1\r\n", "run", "vote", "1",
                  "[Soft]\r\nAutoSearch=1\r\n[run]\r\nvote=1\r\n"},
        WriteCase{"newSectionAfterLastLineWithoutEnd", "[Soft]\nAutoSearch=1", "run", "vote", "1",
                  "[Soft]\nAutoSearch=1\n[run]\nvote=1\n"},
        WriteCase{"keysBeforeAnySectionLeftAlone", "vote=0\r\n", "run", "vote", "1",
                  "vote=0\r\n[run]\r\nvote=1\r\n"},
        WriteCase{"foreignLinesKeptByteForByte",
                  "; 手写的说明\r\n[Soft]  \r\n\tAutoSearch=1\r\nJunk line\r\n[Other]\r\nx = y \r\n", "Soft",
                  "AutoLine", "1",
                  "; 手写的说明\r\n[Soft]  \r\n\tAutoSearch=1\r\nAutoLine=1\r\nJunk line\r\n[Other]\r\nx = y \r\n"},
        WriteCase{"utf8MarkKept", "\xEF\xBB\xBF[Soft]\r\nAutoSearch=1\r\n", "Soft", "AutoSearch", "0",
                  "\xEF\xBB\xBF[Soft]\r\nAutoSearch=0\r\n"},
        WriteCase{"chineseValue", "[mdb]\r\nbakauto=true\r\n", "mdb", "baktime", "2011年2月3日9时5分7秒",
                  "[mdb]\r\nbakauto=true\r\nbaktime=2011年2月3日9时5分7秒\r\n"}),
    caseName<WriteCase>);

// Writing every catalogue key in turn into a hand-made file keeps the hand-made lines and each
// earlier key.
TEST(WriteProfileSequence, EveryKeySurvivesLaterWrites)
{
    struct Entry {
        const char* section;
        const char* key;
        const char* value;
    };
    const Entry entries[] = {{"Soft", "AutoSearch", "0"}, {"Soft", "AutoLine", "1"},   {"hotkey", "onehot", "0"},
                             {"hotkey", "onehotspeed", "5"}, {"run", "vote", "1"},      {"mdb", "baktime", "2011年2月3日"},
                             {"mdb", "bakauto", "false"},   {"Soft", "AutoSearch", "1"}};
    const std::string handMade = gb("; 我的设置\n[Soft]\nAutoLine = 0 \n");
    std::string file = handMade;
    for (const Entry& e : entries)
        file = writeProfileString(file, e.section, e.key, gb(e.value));

    EXPECT_EQ(shown(file), "; 我的设置\n[Soft]\nAutoLine = 1\nAutoSearch=1\n[hotkey]\nonehot=0\nonehotspeed=5\n"
                           "[run]\nvote=1\n[mdb]\nbaktime=2011年2月3日\nbakauto=false\n");
}

} // namespace
} // namespace velkora
