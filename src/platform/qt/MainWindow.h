#pragma once
// The main window: the quick search, the card list with its two panels, the query panel with the
// typing options, the menus and the status bar, each control at its designed place under its
// control name. It holds no rule of its own: it shows what the behaviours tell it through their
// views and passes every user action on to them.

#include <QMainWindow>

#include <array>
#include <functional>
#include <string>

#include "mainwindow/CardList.h"
#include "mainwindow/MouseKeyboard.h"
#include "mainwindow/QueryPanel.h"
#include "mainwindow/TypingOptions.h"
#include "mainwindow/WindowShell.h"
#include "startup/StartupSequence.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTimer;

namespace velkora {

class CardListModel;
class CardListWidget;
class CellEdit;
class KeywordCombo;
class LineLabel;
class LinkLabel;

// Actions of the window whose work lives elsewhere; an empty hook does nothing.
struct MainWindowHooks {
    std::function<void()> openMaintenance;     // 数据库工具 (F5)
    std::function<void()> openOrvandel;        // Orvandel
    std::function<void()> changeLoginPassword; // 登陆密码 (F4)
    std::function<void()> openHelp;            // 使用说明 (F1), also in the tray menu
    std::function<void()> openFeedback;        // 意见反馈
    std::function<void()> openSite;            // 官方网站 (F3), the two links, the tray menu
    std::function<void()> openAbout;           // 关于软件 (F2), also in the tray menu
    std::function<void()> openMouseKeyboard;   // [鼠标键盘]
    std::function<void(int)> keypadKey;        // a key of the keypad, 1 to 38
    std::function<void()> trayToggle;          // 显示/隐藏
    std::function<void(bool)> trayTopmost;     // 窗口置顶, with its new tick
    std::function<void()> exitProgram;         // 退出软件
    std::function<void()> clockTick;           // 时钟1, every 1000 ms
};

class MainWindow final : public QMainWindow,
                         public CardListView,
                         public QueryPanelView,
                         public TypingOptionsView,
                         public MouseKeyboardView,
                         public WindowShellView,
                         public MainFrame {
    Q_OBJECT
public:
    static constexpr int DesignedWidth = 512;
    static constexpr int DesignedHeight = 487;
    static constexpr int ClientHeight = 420; // the query group ends at 416
    static constexpr int KeyboardHeight = 112;

    explicit MainWindow(const std::string& siteHost, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Wires the user's actions to the behaviours, which must outlive the window. Once only.
    void connectBehaviour(CardList& cardList, QueryPanel& queryPanel, TypingOptions& typingOptions);
    // Wires the keypad's keys and link, the menu items, links and tray items of the shell, and the
    // clock to their behaviours (through the hooks). Once only.
    void connectShell(WindowShell& shell, MouseKeyboard& keyboard);

    MainWindowHooks& hooks() { return hooks_; }
    QMenu* cardMenu() const { return cardMenu_; }
    QMenu* trayMenu() const { return trayMenu_; }
    bool topmostTicked() const;
    QString statusText(int part) const;

    // CardListView
    void clearRows() override;
    void appendRows(std::vector<CardListEntry> rows) override;
    std::optional<CardListEntry> selectedRow() const override;
    Size listGroupSize() const override;
    Size emptyPanelSize() const override;
    Size notFoundPanelSize() const override;
    void showEmptyPanel(int left, int top) override;
    void hideEmptyPanel() override;
    void showNotFoundPanel(int left, int top) override;
    void hideNotFoundPanel() override;
    void setSearchGroupEnabled(bool enabled) override;
    int searchTypeIndex() const override;
    std::string searchTypeText() const override;
    std::string keywordText() const override;
    void setKeywordPlain(const std::string& prompt) override;
    void setKeywordList(const std::vector<std::string>& entries, const std::string& prompt) override;
    void setKeywordText(const std::string& text) override;
    void focusKeyword() override;
    void popupCardMenu(int x, int y) override;

    // QueryPanelView
    void setQueryGroupEnabled(bool enabled) override;
    void setQueryGroupCaption(const std::string& caption) override;
    void setAccountText(const std::string& text) override;
    std::string accountText() const override;
    void setSerialText(const std::string& text) override;
    std::string serialText() const override;
    std::string cellText(int cell) const override;
    void setCellText(int cell, const std::string& text) override;
    void focusCell(int cell) override;
    void focusQueryButton() override;
    void setQueryButtonCaption(const std::string& caption) override;
    void setResultText(const std::string& text) override;
    void startAdvanceTimer(int milliseconds) override;
    void stopAdvanceTimer() override;
    void setAutoSearchTicked(bool ticked) override;
    void setAutoLineTicked(bool ticked) override;

    // TypingOptionsView
    void setFullInputTicked(bool ticked) override;
    void setSpeedIndex(int index) override;

    // MouseKeyboardView (the cell boxes are the query panel's)
    Rect queryGroupRect() const override;
    int keyboardHeight() const override;
    void showKeyboard(int left, int top) override;
    void hideKeyboard() override;
    void setTypingPanelVisible(bool visible) override;
    void setKeyboardLinkText(const std::string& text) override;

    // WindowShellView
    void setClockText(const std::string& text) override; // part 2 of the status bar
    void setTopmostTicked(bool ticked) override;
    void setAlwaysOnTop(bool onTop) override;
    void closeMainWindow() override;

    // MainFrame
    void setCaption(const std::string& caption) override;
    void setWidth(int width) override;
    void attachSkin(const std::string& styleSheetPath) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildSearchGroup(QWidget* client);
    void buildListGroup(QWidget* client, const QString& linkText);
    void buildQueryGroup(QWidget* client);
    QGroupBox* mouseKeyboard(); // built on first use
    void buildMouseKeyboard();
    void buildMenus();
    void buildStatusBar(const std::string& siteHost);
    void callHook(const std::function<void()>& hook) const;
    CellEdit* cellBox(int cell) const;

    MainWindowHooks hooks_;
    QueryPanel* queryPanel_ = nullptr;
    bool loadPending_ = false;

    // 分组框2
    QGroupBox* searchGroup_ = nullptr;
    QComboBox* searchType_ = nullptr;
    KeywordCombo* keyword_ = nullptr;
    QPushButton* searchButton_ = nullptr;
    // 分组框1
    QGroupBox* listGroup_ = nullptr;
    CardListWidget* list_ = nullptr;
    CardListModel* model_ = nullptr;
    QFrame* emptyPanel_ = nullptr;
    QPushButton* addButton_ = nullptr;
    LinkLabel* emptyLink_ = nullptr;
    QFrame* notFoundPanel_ = nullptr;
    QPushButton* continueButton_ = nullptr;
    QPushButton* showAllButton_ = nullptr;
    LinkLabel* notFoundLink_ = nullptr;
    // 分组框3
    QGroupBox* queryGroup_ = nullptr;
    QLineEdit* account_ = nullptr;
    QPushButton* copyAccount_ = nullptr;
    QLineEdit* serial_ = nullptr;
    QPushButton* copySerial_ = nullptr;
    LinkLabel* noteLink_ = nullptr;
    std::array<CellEdit*, 3> cells_{};
    LineLabel* result_ = nullptr;
    QPushButton* queryButton_ = nullptr;
    LinkLabel* keyboardLink_ = nullptr;
    QFrame* typingPanel_ = nullptr;
    QCheckBox* fullInput_ = nullptr;
    QComboBox* speed_ = nullptr;
    QPushButton* editButton_ = nullptr;
    QPushButton* deleteButton_ = nullptr;
    // 鼠标键盘, over the lower part of 分组框3
    QGroupBox* keyboard_ = nullptr;
    QTimer* advanceTimer_ = nullptr; // ttime
    QTimer* clockTimer_ = nullptr;   // 时钟1
    // menus
    QMenu* cardMenu_ = nullptr;
    QMenu* trayMenu_ = nullptr;
    QAction* readAll_ = nullptr;
    QAction* addCard_ = nullptr;
    QAction* editCard_ = nullptr;
    QAction* deleteCard_ = nullptr;
    QAction* autoSearch_ = nullptr;
    QAction* autoLine_ = nullptr;
    QAction* topmost_ = nullptr;
    // 状态条1
    std::array<QLabel*, 3> statusParts_{};
};

} // namespace velkora
