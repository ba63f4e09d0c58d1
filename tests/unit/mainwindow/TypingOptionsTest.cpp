#include <gtest/gtest.h>

#include "mainwindow/TypingOptions.h"
#include "support/Fakes.h"

namespace velkora::testing {
namespace {

class FakeOptionsView : public TypingOptionsView {
public:
    void setFullInputTicked(bool ticked) override { fullInput = ticked; }
    void setSpeedIndex(int index) override { speed = index; }
    bool fullInput = false;
    int speed = -2;
};

TEST(TypingOptions, RememberedSpeedSelectsAnEntry)
{
    const std::pair<const char*, int> cases[] = {
        {"3", 3}, {"0", 0}, {"5", 5}, {"7", 5}, {"99999999999", 5}, {"-1", -1}, {"abc", 0}, {"", 0},
        {" 2", 2}, {"4x", 4}, {"\xA3\xB1", 1} /* full-width 1 */,
    };
    for (const auto& [text, index] : cases) {
        SCOPED_TRACE(text);
        FakeSettings settings;
        settings.values[{"hotkey", "onehotspeed"}] = text;
        FakeOptionsView view;
        TypingOptions options(view, settings);
        options.restoreSpeed();
        EXPECT_EQ(view.speed, index);
        EXPECT_EQ(options.speedIndex(), index);
    }
}

TEST(TypingOptions, DefaultsAndFullInputOnlyForExactlyOne)
{
    FakeSettings settings;
    FakeOptionsView view;
    TypingOptions options(view, settings);
    options.restoreSpeed();
    options.restoreFullInput();
    EXPECT_EQ(view.speed, 3);
    EXPECT_EQ(u8(TypingOptions::speedName(view.speed)), "中速");
    EXPECT_TRUE(view.fullInput);

    for (const char* value : {"0", "true", "2", " 1x", ""}) {
        settings.values[{"hotkey", "onehot"}] = value;
        options.restoreFullInput();
        EXPECT_FALSE(view.fullInput) << value;
    }
    EXPECT_TRUE(settings.writes.empty()) << "restoring writes nothing";
}

TEST(TypingOptions, ChangesAreWrittenAtOnceAndSetThePause)
{
    FakeSettings settings;
    FakeOptionsView view;
    TypingOptions options(view, settings);
    const int pauses[] = {10, 50, 150, 300, 500, 1000};
    for (int i = 0; i < 6; ++i) {
        options.speedPicked(i);
        EXPECT_EQ(options.pauseMs(), pauses[i]);
    }
    options.fullInputClicked(false);
    options.fullInputClicked(true);
    EXPECT_EQ(settings.writes.back(), "hotkey/onehot=1");
    EXPECT_EQ(settings.writes[5], "hotkey/onehotspeed=5");
    EXPECT_EQ(settings.writes[6], "hotkey/onehot=0");

    settings.values[{"hotkey", "onehotspeed"}] = "-1";
    options.restoreSpeed();
    EXPECT_EQ(options.pauseMs(), 0) << "no entry selected: no pause";
}

} // namespace
} // namespace velkora::testing
