#include <gtest/gtest.h>

#include <set>

#include "mainwindow/WindowShell.h"
#include "startup/StartupSequence.h"
#include "support/Fakes.h"

namespace velkora::testing {
namespace {

class FakeShellView : public WindowShellView {
public:
    void setClockText(const std::string& text) override { log.push_back("clock " + u8(text)); }
    void setTopmostTicked(bool ticked) override { tick = ticked; }
    void setAlwaysOnTop(bool top) override { onTop = top; }
    void closeMainWindow() override { log.push_back("close"); }

    std::vector<std::string> log;
    bool tick = false;
    bool onTop = false;
};

class FakeClock : public Clock {
public:
    LocalTime localNow() const override { return now; }
    LocalTime now{2011, 2, 3, 14, 5, 7, 4};
};

class FakeTrimmer : public MemoryTrimmer {
public:
    explicit FakeTrimmer(std::vector<std::string>& log) : log_(log) {}
    void trimMemory() override { log_.push_back("trim"); }

private:
    std::vector<std::string>& log_;
};

class FakeFiles : public FileSystem {
public:
    std::int64_t fileSize(const std::string& path) const override { return present.count(path) ? 1 : -1; }
    bool exists(const std::string& path) const override { return present.count(path) != 0; }
    void remove(const std::string& path) override { present.erase(path); }
    bool writeFile(const std::string& path, std::string_view) override { return present.insert(path).second; }
    std::set<std::string> present;
};

class WindowShellTest : public ::testing::Test {
protected:
    WindowShell makeShell(const std::string& host)
    {
        return WindowShell(view, messages, shell, files, clock, trimmer, about, "/opt/velkora", host);
    }

    FakeShellView view;
    FakeMessages messages;
    FakeShell shell;
    FakeFiles files;
    FakeClock clock;
    FakeTrimmer trimmer{view.log};
    FakeAbout about;
    WindowShell windowShell = makeShell("www.tamrel.example");
};

TEST(WindowShellClock, DateTimeInItsShortestFormAndTheWeekday)
{
    struct Case {
        LocalTime time;
        const char* text;
    };
    const Case cases[] = {
        {{2011, 2, 3, 14, 5, 7, 4}, "2011年2月3日14时5分7秒 周四"},
        {{2011, 2, 3, 14, 5, 0, 4}, "2011年2月3日14时5分 周四"},
        {{2011, 2, 3, 14, 0, 0, 4}, "2011年2月3日14时 周四"},
        {{2011, 2, 4, 0, 0, 0, 5}, "2011年2月4日 周五"},              // midnight: the date alone
        {{2011, 2, 5, 0, 0, 9, 6}, "2011年2月5日0时0分9秒 周六"},     // seconds keep the zero hour
        {{2011, 2, 6, 0, 30, 0, 0}, "2011年2月6日0时30分 周日"},
        {{2011, 2, 7, 9, 0, 1, 1}, "2011年2月7日9时0分1秒 周一"},
        {{2011, 12, 27, 23, 59, 59, 2}, "2011年12月27日23时59分59秒 周二"},
        {{2011, 12, 28, 10, 10, 10, 3}, "2011年12月28日10时10分10秒 周三"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(u8(WindowShell::clockText(c.time)), c.text);
}

TEST_F(WindowShellTest, EveryTickTrimsMemoryAndWritesTheClock)
{
    windowShell.clockTick();
    clock.now = {2011, 2, 4, 0, 0, 0, 5};
    windowShell.clockTick();
    EXPECT_EQ(view.log, (std::vector<std::string>{"trim", "clock 2011年2月3日14时5分7秒 周四", "trim",
                                                  "clock 2011年2月4日 周五"}));
}

TEST_F(WindowShellTest, HelpFileOpensWhenPresentOtherwiseTheMissingHelpMessage)
{
    windowShell.openHelpFile();
    EXPECT_TRUE(shell.files.empty());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "帮助文件不存在，重新安装将会修复此问题！\r\n如果安装后还不行，请到官方网站（"
                                      "www.tamrel.example）下载完成版安装程序。");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::None);
    EXPECT_EQ(messages.shown[0].caption, "信息：");

    files.present.insert("/opt/velkora/help.mht");
    windowShell.openHelpFile();
    EXPECT_EQ(shell.files, std::vector<std::string>{"/opt/velkora/help.mht"});
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(WindowShellTest, WebLinksOpenThePagesOfThePublishersSite)
{
    for (const char* host : {"www.tamrel.example", "127.0.0.1:8080"}) {
        shell.urls.clear();
        WindowShell s = makeShell(host);
        s.openSite();
        s.openFeedback();
        s.openOrvandel();
        const std::string root = std::string("http://") + host;
        EXPECT_EQ(shell.urls, (std::vector<std::string>{root + "/", root + "/forum/?type=list&sid=4",
                                                        root + "/post/yuanchuang-orvandel-V1-0-By-Quenmar.html"}));
    }
}

TEST_F(WindowShellTest, OnlyHttpAndHttpsAddressesAreOpened)
{
    struct Case {
        const char* address;
        bool opened;
    };
    const Case cases[] = {
        {"http://www.tamrel.example/", true},
        {"https://www.tamrel.example/a?b=c", true},
        {"HTTP://WWW.TAMREL.EXAMPLE", true},
        {"http://127.0.0.1:8080/forum/", true},
        {"file:///etc/passwd", false},
        {"javascript:alert(1)", false},
        {"ftp://www.tamrel.example/", false},
        {"mailto:a@tamrel.example", false},
        {"vlkr://run", false},
        {"http://", false},
        {"http:///etc/passwd", false},
        {"httpx://www.tamrel.example/", false},
        {"http://www.tamrel.example/a b", false},
        {"http://www.tamrel.example/\n", false},
        {"", false},
        {" http://www.tamrel.example/", false},
    };
    for (const Case& c : cases) {
        shell.urls.clear();
        windowShell.openWebPage(c.address);
        EXPECT_EQ(shell.urls.size(), c.opened ? 1u : 0u) << c.address;
    }
    // A site host that would make another scheme of the address opens nothing either.
    shell.urls.clear();
    makeShell("").openSite();
    EXPECT_TRUE(shell.urls.empty());
}

TEST_F(WindowShellTest, TopmostStartsOffAndEachToggleFlipsTickAndWindowTogether)
{
    EXPECT_FALSE(windowShell.topmost());
    windowShell.toggleTopmost();
    EXPECT_TRUE(windowShell.topmost());
    EXPECT_TRUE(view.tick);
    EXPECT_TRUE(view.onTop);
    windowShell.toggleTopmost();
    EXPECT_FALSE(windowShell.topmost());
    EXPECT_FALSE(view.tick);
    EXPECT_FALSE(view.onTop);
}

TEST_F(WindowShellTest, AboutWindowAndExitGoToTheirWindows)
{
    windowShell.openAboutWindow();
    EXPECT_EQ(about.opened, 1);
    windowShell.exitProgram();
    EXPECT_EQ(view.log, std::vector<std::string>{"close"});
}

TEST(TrayTip, UsesAtMost62BytesAndNeverHalfACharacter)
{
    EXPECT_EQ(u8(trayTipText(gb("Velkora托盘信息"))), "Velkora托盘信息");
    EXPECT_EQ(trayTipText(std::string(62, 'x')), std::string(62, 'x'));
    EXPECT_EQ(trayTipText(std::string(70, 'x')), std::string(62, 'x'));
    // 61 bytes and a two-byte character: the character would end at byte 63.
    EXPECT_EQ(trayTipText(std::string(61, 'x') + gb("托")), std::string(61, 'x'));
    EXPECT_EQ(trayTipText(std::string(60, 'x') + gb("托盘")), std::string(60, 'x') + gb("托"));
    EXPECT_EQ(trayTipText(""), "");
}

} // namespace
} // namespace velkora::testing
