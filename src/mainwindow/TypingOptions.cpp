#include "mainwindow/TypingOptions.h"

#include <array>

#include "carddata/CoordinateLookup.h"
#include "carddata/Text.h"

namespace velkora {
namespace {

constexpr std::array<int, TypingOptions::SpeedCount> PausesMs = {10, 50, 150, 300, 500, 1000};

} // namespace

TypingOptions::TypingOptions(TypingOptionsView& view, Settings& settings) : view_(view), settings_(settings) {}

int TypingOptions::speedIndexFromSetting(const std::string& value)
{
    const std::int32_t n = textToInteger(value);
    if (n < 0)
        return -1;
    return n > SpeedCount - 1 ? SpeedCount - 1 : static_cast<int>(n);
}

const std::string& TypingOptions::speedName(int index)
{
    static const std::array<const std::string*, SpeedCount> names = {
        &VK_TEXT("极速"), &VK_TEXT("快速"), &VK_TEXT("高速"), &VK_TEXT("中速"), &VK_TEXT("低速"), &VK_TEXT("慢速")};
    static const std::string none;
    return index >= 0 && index < SpeedCount ? *names[static_cast<std::size_t>(index)] : none;
}

void TypingOptions::restoreSpeed()
{
    speedIndex_ = speedIndexFromSetting(settings_.read("hotkey", "onehotspeed", "3"));
    view_.setSpeedIndex(speedIndex_);
}

void TypingOptions::restoreFullInput()
{
    fullInput_ = settings_.read("hotkey", "onehot", "1") == "1";
    view_.setFullInputTicked(fullInput_);
}

void TypingOptions::fullInputClicked(bool ticked)
{
    fullInput_ = ticked;
    settings_.write("hotkey", "onehot", ticked ? "1" : "0");
}

void TypingOptions::speedPicked(int index)
{
    speedIndex_ = index;
    settings_.write("hotkey", "onehotspeed", std::to_string(index));
}

int TypingOptions::pauseMs() const
{
    return speedIndex_ >= 0 && speedIndex_ < SpeedCount ? PausesMs[static_cast<std::size_t>(speedIndex_)] : 0;
}

} // namespace velkora
