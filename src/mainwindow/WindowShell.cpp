#include "mainwindow/WindowShell.h"

#include <array>
#include <utility>

#include "carddata/Text.h"
#include "startup/Settings.h"
#include "startup/StartupSequence.h"

namespace velkora {
namespace {

constexpr std::size_t TrayTipBytes = 62;

const std::string& weekdayText(int weekday)
{
    static const std::array<std::string, 7> names = {
        VK_TEXT(" 周日"), VK_TEXT(" 周一"), VK_TEXT(" 周二"), VK_TEXT(" 周三"),
        VK_TEXT(" 周四"), VK_TEXT(" 周五"), VK_TEXT(" 周六"),
    };
    static const std::string none;
    return weekday >= 0 && weekday < 7 ? names[static_cast<std::size_t>(weekday)] : none;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i])
            return false;
    }
    return true;
}

} // namespace

WindowShell::WindowShell(WindowShellView& view, MessageService& messages, Shell& shell, const FileSystem& files,
                         const Clock& clock, MemoryTrimmer& trimmer, AboutWindowOpener& about, std::string runDir,
                         std::string siteHost)
    : view_(view),
      messages_(messages),
      shell_(shell),
      files_(files),
      clock_(clock),
      trimmer_(trimmer),
      about_(about),
      runDir_(std::move(runDir)),
      siteHost_(std::move(siteHost))
{
}

void WindowShell::clockTick()
{
    trimmer_.trimMemory();
    view_.setClockText(clockText(clock_.localNow()));
}

std::string WindowShell::clockText(const LocalTime& time)
{
    return dateTimeText(time.year, time.month, time.day, time.hour, time.minute, time.second) +
           weekdayText(time.weekday);
}

void WindowShell::openHelpFile()
{
    const std::string path = runDir_ + "/help.mht";
    if (files_.exists(path)) {
        shell_.openFile(path);
        return;
    }
    messages_.showMessage(VK_TEXT("帮助文件不存在，重新安装将会修复此问题！\r\n如果安装后还不行，请到官方网站（") +
                              siteHost_ + VK_TEXT("）下载完成版安装程序。"),
                          MessageIcon::None);
}

bool WindowShell::isWebAddress(std::string_view address)
{
    std::string_view rest;
    if (startsWithNoCase(address, "http://"))
        rest = address.substr(7);
    else if (startsWithNoCase(address, "https://"))
        rest = address.substr(8);
    else
        return false;
    // A host must follow the scheme; no blank or control character anywhere.
    if (rest.empty() || rest.front() == '/' || rest.front() == '?' || rest.front() == '#')
        return false;
    for (const char c : address)
        if (static_cast<unsigned char>(c) <= ' ' || c == '\x7f')
            return false;
    return true;
}

void WindowShell::openWebPage(const std::string& address)
{
    if (isWebAddress(address))
        shell_.openUrl(address);
}

std::string WindowShell::siteAddress(std::string_view path) const
{
    return "http://" + siteHost_ + std::string(path);
}

void WindowShell::openSite()
{
    openWebPage(siteAddress("/"));
}

void WindowShell::openFeedback()
{
    openWebPage(siteAddress("/forum/?type=list&sid=4"));
}

void WindowShell::openOrvandel()
{
    openWebPage(siteAddress("/post/yuanchuang-orvandel-V1-0-By-Quenmar.html"));
}

void WindowShell::openAboutWindow()
{
    about_.openAboutWindow();
}

void WindowShell::toggleTopmost()
{
    topmost_ = !topmost_;
    view_.setTopmostTicked(topmost_);
    view_.setAlwaysOnTop(topmost_);
}

void WindowShell::exitProgram()
{
    view_.closeMainWindow();
}

std::string trayTipText(std::string_view tip)
{
    std::size_t end = 0;
    while (end < tip.size()) {
        const std::size_t next = end + gbCharLength(tip, end);
        if (next > TrayTipBytes)
            break;
        end = next;
    }
    return std::string(tip.substr(0, end));
}

} // namespace velkora
