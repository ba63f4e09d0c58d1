// Pictures of the main window with the mouse keyboard open and of the about window, in the
// program's skin, for a person to look at. Runs only when VELKORA_SHOTS names a directory:
//   VELKORA_SHOTS=/tmp ./gui_mainwindow --gtest_filter='Screenshots.*'

#include <QDir>

#include "GuiSupport.h"
#include "mainwindow/MouseKeyboard.h"
#include "platform/qt/AboutWindow.h"
#include "platform/qt/AppIcon.h"
#include "platform/qt/MainWindow.h"
#include "resources/CarriedFiles.h"
#include "support/Fakes.h"
#include "support/TempStore.h"

namespace velkora::testing {
namespace {

class NoEditor : public CardEditorOpener {
public:
    void openCardEditor(EditorMode, const std::string&) override {}
};

class Screenshots : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = qEnvironmentVariable("VELKORA_SHOTS");
        if (dir.isEmpty())
            GTEST_SKIP() << "set VELKORA_SHOTS to a directory to write the pictures";
        const std::string_view skin = carriedSkin();
        qApp->setStyleSheet(QString::fromUtf8(skin.data(), static_cast<qsizetype>(skin.size())));
        QApplication::setWindowIcon(velkoraIcon());
    }
    void TearDown() override { qApp->setStyleSheet({}); }

    QString file(const char* name) const { return QDir(dir).filePath(QString::fromLatin1(name)); }

    QString dir;
};

TEST_F(Screenshots, MainWindowWithTheKeypadOpen)
{
    TempStore db;
    db.add(gb("网游"), "player01", "SN-2011-0203", "13-15-23\r\n99-15-21\r\n72-33-55", "A,B,C");
    FakeMessages messages;
    FakeSettings settings;
    FakeClipboard clipboard;
    NoEditor editor;
    MainWindow window("www.tamrel.example");
    CardList cardList(window, db.store, messages, editor);
    QueryPanel queryPanel(window, db.store, messages, settings, clipboard);
    TypingOptions typing(window, settings);
    MouseKeyboard keyboard(window, queryPanel);
    window.connectBehaviour(cardList, queryPanel, typing);
    window.setCaption(gb("Velkora Ver 2.5 2011年正月版 [永久免费使用] www.tamrel.example"));
    window.setWidth(MainWindowWidth);
    window.setClockText(gb("2011年2月3日14时5分7秒 周四"));
    cardList.fillCardList();
    ASSERT_TRUE(showActive(window));
    queryPanel.loadSelectedCard(CardListEntry{"1", gb("网游"), "player01"});
    keyboard.openKeyboard();
    keyboard.keyClicked(12); // B
    keyboard.keyClicked(2);  // 2
    QApplication::processEvents();
    ASSERT_TRUE(window.grab().save(file("velkora-keypad.png")));
}

TEST_F(Screenshots, AboutWindow)
{
    AboutWindow about("www.tamrel.example", {});
    ASSERT_TRUE(showActive(about));
    ASSERT_TRUE(about.grab().save(file("velkora-about.png")));
}

} // namespace
} // namespace velkora::testing
