#pragma once
// The two typing options of the query panel: full-input mode and its speed.

#include <string>

#include "startup/Settings.h"

namespace velkora {

class TypingOptionsView {
public:
    virtual ~TypingOptionsView() = default;
    virtual void setFullInputTicked(bool ticked) = 0; // 一键输入选择框
    virtual void setSpeedIndex(int index) = 0;        // 输入速度列表框; -1 selects no entry
};

class TypingOptions {
public:
    TypingOptions(TypingOptionsView& view, Settings& settings);

    // Remembered options, in the order start-up restores them.
    void restoreSpeed();     // [hotkey] onehotspeed, default "3"
    void restoreFullInput(); // [hotkey] onehot, default "1"

    void fullInputClicked(bool ticked); // writes onehot at once
    void speedPicked(int index);        // writes onehotspeed at once

    bool fullInput() const { return fullInput_; }
    int speedIndex() const { return speedIndex_; }
    int pauseMs() const; // pause after each answer in full-input mode; 0 with no entry selected

    // Above 5 selects the last entry, a negative value none, a text without digits the first.
    static int speedIndexFromSetting(const std::string& value);
    static const std::string& speedName(int index); // "极速" .. "慢速"
    static constexpr int SpeedCount = 6;

private:
    TypingOptionsView& view_;
    Settings& settings_;
    bool fullInput_ = true;
    int speedIndex_ = 3;
};

} // namespace velkora
