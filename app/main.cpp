// The executable: builds the real adapters, runs the start-up sequence and, unless start-up ended
// the process, shows the main window and runs the event loop until it is closed.

#include <QApplication>
#include <QFont>
#include <QStringList>

#include <memory>
#include <string>

#include "InterimSteps.h"
#include "carddata/CardStore.h"
#include "mainwindow/CardList.h"
#include "mainwindow/MouseKeyboard.h"
#include "mainwindow/QueryPanel.h"
#include "mainwindow/TypingOptions.h"
#include "mainwindow/WindowShell.h"
#include "platform/files/IniSettings.h"
#include "platform/files/InstanceLock.h"
#include "platform/files/LocalFileSystem.h"
#include "platform/files/RunDir.h"
#include "platform/qt/AboutWindow.h"
#include "platform/qt/AppIcon.h"
#include "platform/qt/MainWindow.h"
#include "platform/qt/QtCardEditorOpener.h"
#include "platform/qt/QtInputBox.h"
#include "platform/qt/QtServices.h"
#include "platform/qt/QtTrayIcon.h"
#include "platform/qt/StartupWarmUp.h"
#include "platform/qt/SystemServices.h"
#include "platform/sqlite/SqliteConnection.h"
#include "resources/CarriedFiles.h"
#include "startup/StartupSequence.h"

// Xlib's macros (None, Bool, Status ...) stay out of every header above.
#include "mainwindow/HotKeyTyping.h"
#include "platform/x11/QtEventPump.h"
#include "platform/x11/X11HotKeys.h"
#include "platform/x11/X11KeyTyper.h"

#ifndef VELKORA_SITE_HOST
#error "VELKORA_SITE_HOST must name the publisher's web site host"
#endif

namespace {

// The main window as the show/hide hot key sees it. Showing it again also brings it to the front.
class MainWindowVisibility final : public velkora::ToggledWindow {
public:
    explicit MainWindowVisibility(QWidget& window) : window_(window) {}
    bool isVisible() const override { return window_.isVisible(); }
    void show() override
    {
        window_.show();
        window_.raise();
        window_.activateWindow();
    }
    void hide() override { window_.hide(); }

private:
    QWidget& window_;
};

} // namespace

int main(int argc, char** argv)
{
    using namespace velkora;
    using namespace velkora::interim;

    // A second launch ends here, silently, before it so much as opens the display. The start-up
    // sequence asks the same lock again as its first step; the lock is then already held.
    InstanceLock instance(defaultInstanceLockFile());
    if (!instance.acquire())
        return 0;

    // The program takes no arguments: Qt sees only the program's name, never the command line.
    int qtArgc = argc > 0 ? 1 : 0;
    // fontconfig and the session bus are reached early, on threads of their own, so that their
    // waits overlap the toolkit's start and the font loading instead of following them.
    EarlyWork fontConfig(warmUpFontConfig);
    QApplication app(qtArgc, argv);
    fontConfig.finish();
    EarlyWork sessionBus(warmUpSessionBus);
    QApplication::setApplicationName(QStringLiteral("Velkora"));
    // Every text of the interface is Chinese: prefer a CJK face over whatever the default is.
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"), font.family()});
    QApplication::setFont(font);
    QApplication::setWindowIcon(velkoraIcon());
    warmUpApplicationFont();
    sessionBus.finish();

    const std::string dir = runDir();
    const std::string siteHost = VELKORA_SITE_HOST;

    LocalFileSystem files;
    IniSettings settings(dir + "/config.ini");
    CardStore store(std::make_unique<SqliteConnection>(), dir + "/tamcard1.mdb");
    QtMessageService messages;
    QtClipboard clipboard;
    QtInputBox inputBox;
    QtCardEditorOpener editor(store, messages, inputBox);

    MainWindow window(siteHost);
    CardList cardList(window, store, messages, editor);
    editor.setParentWindow(&window);
    editor.setListReload([&cardList] { cardList.fillCardList(); });
    QueryPanel queryPanel(window, store, messages, settings, clipboard);
    TypingOptions typingOptions(window, settings);
    window.connectBehaviour(cardList, queryPanel, typingOptions);

    QtShell shell;
    QtLocalClock clock;
    HeapTrimmer trimmer;
    QtAboutWindowOpener about(window, siteHost);
    MouseKeyboard mouseKeyboard(window, queryPanel);
    WindowShell windowShell(window, messages, shell, files, clock, trimmer, about, dir, siteHost);
    about.setOpenSite([&windowShell] { windowShell.openSite(); });
    window.connectShell(windowShell, mouseKeyboard);

    OpenLogin login;
    NoUpdateCheck update;
    // Without an X11 display (a pure Wayland session) both hot keys are refused and say so.
    Display* display = qtX11Display();
    X11HotKeys hotKeyGrabs(display);
    X11KeyTyper typer(x11DisplayName(display));
    QtEventPump pump;
    MainWindowVisibility visibility(window);
    HotKeyTyping hotKeys(hotKeyGrabs, typer, pump, visibility, queryPanel.loadedCard(), typingOptions);
    hotKeyGrabs.setDispatcher([&hotKeys](int id) { return hotKeys.dispatchHotKey(id); });
    // A click on the tray icon and the tray menu's 显示/隐藏 do what Ctrl+F12 does.
    window.hooks().trayToggle = [&hotKeys] { hotKeys.toggleMainWindow(); };
    QtTrayIcon tray(window, *window.trayMenu(), [&hotKeys] { hotKeys.toggleMainWindow(); });
    NoSurvey survey;

    StartupContext context{dir,      siteHost, carriedSkin(), instance,      files, window,  login,
                           update,   store,    cardList,      queryPanel,    typingOptions, tray,
                           hotKeys,  settings, survey,        messages};
    if (runStartupSequence(context) == StartupResult::ExitProcess)
        return 0;

    window.show();
    return QApplication::exec();
}
