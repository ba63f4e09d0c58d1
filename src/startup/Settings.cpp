#include "startup/Settings.h"

#include "carddata/Text.h"

namespace velkora {

std::string dateTimeText(int year, int month, int day, int hour, int minute, int second)
{
    std::string text = std::to_string(year) + VK_TEXT("年") + std::to_string(month) + VK_TEXT("月") +
                       std::to_string(day) + VK_TEXT("日");
    // The time of day in the shortest form that loses nothing; midnight adds nothing.
    if (second != 0)
        return text + std::to_string(hour) + VK_TEXT("时") + std::to_string(minute) + VK_TEXT("分") +
               std::to_string(second) + VK_TEXT("秒");
    if (minute != 0)
        return text + std::to_string(hour) + VK_TEXT("时") + std::to_string(minute) + VK_TEXT("分");
    if (hour != 0)
        return text + std::to_string(hour) + VK_TEXT("时");
    return text;
}

} // namespace velkora
