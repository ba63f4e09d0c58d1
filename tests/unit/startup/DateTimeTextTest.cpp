#include "startup/Settings.h"

#include <gtest/gtest.h>

#include "carddata/Text.h"

namespace velkora {
namespace {

struct DateTimeCase {
    int year, month, day, hour, minute, second;
    const char* expected;
};

TEST(DateTimeText, ShortestTimeThatLosesNothing)
{
    const DateTimeCase cases[] = {
        {2011, 2, 3, 9, 5, 7, "2011年2月3日9时5分7秒"},
        {2011, 2, 3, 9, 5, 0, "2011年2月3日9时5分"},
        {2011, 2, 3, 9, 0, 0, "2011年2月3日9时"},
        {2011, 2, 3, 0, 0, 0, "2011年2月3日"},
        // A zero before a non-zero part is written out.
        {2011, 2, 3, 0, 0, 7, "2011年2月3日0时0分7秒"},
        {2011, 2, 3, 9, 0, 7, "2011年2月3日9时0分7秒"},
        {2011, 2, 3, 0, 30, 0, "2011年2月3日0时30分"},
        {2024, 12, 31, 23, 59, 59, "2024年12月31日23时59分59秒"},
    };
    for (const DateTimeCase& c : cases) {
        const std::string text = dateTimeText(c.year, c.month, c.day, c.hour, c.minute, c.second);
        EXPECT_EQ(text, utf8ToGb(c.expected)) << c.expected << " got " << gbToUtf8(text);
    }
}

} // namespace
} // namespace velkora
