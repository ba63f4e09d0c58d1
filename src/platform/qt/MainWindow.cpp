#include "platform/qt/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QCheckBox>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>

#include "platform/qt/CardListModel.h"
#include "platform/qt/MainWindowControls.h"
#include "platform/qt/Placement.h"
#include "platform/qt/QtText.h"

namespace velkora {

namespace {

constexpr const char* SupportContact = "10000";

LineLabel* label(QWidget* parent, const char* name, const char* text, int left, int top, int width, int height)
{
    return place(new LineLabel(QString::fromUtf8(text), parent), name, left, top, width, height);
}

QFrame* separator(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return place(line, name, left, top, width, height);
}

QLineEdit* readOnlyBox(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* box = new QLineEdit(parent);
    box->setReadOnly(true);
    box->setAlignment(Qt::AlignCenter);
    return place(box, name, left, top, width, height);
}

QAction* action(QMenu* menu, const char* text, const QKeySequence& shortcut = {})
{
    QAction* a = menu->addAction(QString::fromUtf8(text));
    if (!shortcut.isEmpty())
        a->setShortcut(shortcut);
    return a;
}

} // namespace

MainWindow::MainWindow(const std::string& siteHost, QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MainWindow"));
    // The designed places assume captions of 12 pixels (lines step down by 12).
    QFont designed = font();
    designed.setPixelSize(12);
    setFont(designed);

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);

    const QString linkText = QStringLiteral("Tamrel工作室 ") + toQt(siteHost);
    buildSearchGroup(client);
    buildListGroup(client, linkText);
    buildQueryGroup(client);
    buildMenus();
    buildStatusBar(siteHost);

    advanceTimer_ = new QTimer(this);
    advanceTimer_->setObjectName(QStringLiteral("ttime"));
    clockTimer_ = new QTimer(this);
    clockTimer_->setObjectName(QStringLiteral("时钟1"));
    connect(clockTimer_, &QTimer::timeout, this, [this] { callHook(hooks_.clockTick); });
    clockTimer_->start(1000);

    // The client area holds every control whatever the heights of the menu and status bars.
    const int height = std::max(DesignedHeight, menuBar()->sizeHint().height() + ClientHeight +
                                                    statusBar()->sizeHint().height());
    move(50, 50);
    setFixedSize(DesignedWidth, height);
}

MainWindow::~MainWindow() = default;

void MainWindow::buildSearchGroup(QWidget* client)
{
    searchGroup_ = place(new QGroupBox(QStringLiteral("快速搜索"), client), "分组框2", 8, 3, 464, 45);
    label(searchGroup_, "标签1", "类型             内容", 8, 20, 147, 18)->setSpread(true);

    searchType_ = place(new QComboBox(searchGroup_), "搜索类型", 40, 16, 80, 20);
    searchType_->addItems({QStringLiteral("密保类型"), QStringLiteral("密保帐号")});
    searchType_->setCurrentIndex(1);

    keyword_ = place(new KeywordCombo(searchGroup_), "搜索关键字", 157, 15, 230, 20);
    keyword_->setPlain(true);
    keyword_->setEditText(QStringLiteral("请<输入>密保帐号关键字！"));

    searchButton_ = button(searchGroup_, "搜索按钮", "搜 索", 393, 12, 56, 24);
}

void MainWindow::buildListGroup(QWidget* client, const QString& linkText)
{
    listGroup_ = place(new QGroupBox(QStringLiteral("密保列表"), client), "分组框1", 8, 56, 299, 280);

    model_ = new CardListModel(this);
    list_ = place(new CardListWidget(listGroup_), "超级列表框1", 7, 16, 284, 256);
    list_->setModel(model_);
    for (int column = 0; column < CardListModel::ColumnCount; ++column) {
        list_->header()->setSectionResizeMode(column, QHeaderView::Interactive);
        list_->header()->resizeSection(column, CardListModel::ColumnWidths[column]);
    }

    emptyPanel_ = place(new QFrame(listGroup_), "外形框1", -240, 40, 264, 128);
    emptyPanel_->setFrameShape(QFrame::StyledPanel);
    emptyPanel_->setAutoFillBackground(true);
    label(emptyPanel_, "标签5", "当前数据库中无密保卡！", 21, 16, 232, 24);
    addButton_ = button(emptyPanel_, "添加信息", "立即添加信息", 62, 52, 136, 32);
    separator(emptyPanel_, "外形框2", 13, 95, 240, 3);
    emptyLink_ = place(new LinkLabel(linkText, emptyPanel_), "超级链接框1", 18, 101, 228, 24);
    emptyPanel_->hide();

    notFoundPanel_ = place(new QFrame(listGroup_), "外形框3", -232, 224, 264, 128);
    notFoundPanel_->setFrameShape(QFrame::StyledPanel);
    notFoundPanel_->setAutoFillBackground(true);
    label(notFoundPanel_, "标签6", "未搜索到相关内容密保卡！\n", 38, 17, 209, 18);
    continueButton_ = button(notFoundPanel_, "继续搜索密保卡", "继续搜索密保卡", 14, 52, 109, 32);
    showAllButton_ = button(notFoundPanel_, "显示全部密保卡", "显示全部密保卡", 136, 52, 109, 32);
    separator(notFoundPanel_, "外形框4", 13, 95, 240, 3);
    notFoundLink_ = place(new LinkLabel(linkText, notFoundPanel_), "超级链接框2", 18, 101, 228, 24);
    notFoundPanel_->hide();

    connect(emptyLink_, &LinkLabel::clicked, this, [this] { callHook(hooks_.openSite); });
    connect(notFoundLink_, &LinkLabel::clicked, this, [this] { callHook(hooks_.openSite); });
}

void MainWindow::buildQueryGroup(QWidget* client)
{
    queryGroup_ = place(new QGroupBox(QStringLiteral("密保查询-请先选择密保卡"), client), "分组框3", 315, 56, 157, 360);

    // Captions first: the boxes they name lie over them.
    label(queryGroup_, "标签2", "密保帐号\n\n\n\n密保序列号\n\n\n\n密保坐标\n", 3, 16, 138, 232);
    account_ = readOnlyBox(queryGroup_, "密保帐号", 4, 35, 119, 20);
    copyAccount_ = button(queryGroup_, "按钮3", "复制", 124, 34, 30, 20);
    serial_ = readOnlyBox(queryGroup_, "密保序列号", 4, 82, 121, 20);
    copySerial_ = button(queryGroup_, "按钮4", "复制", 124, 80, 30, 20);
    noteLink_ = place(new LinkLabel(QStringLiteral("[注意]坐标值填写须知"), queryGroup_), "超级链接框3", 3, 128, 142, 16);
    label(queryGroup_, "标签3", "一格：\n\n二格：\n\n三格：", 6, 150, 47, 70);

    const char* cellNames[] = {"编辑框4", "编辑框5", "编辑框6"};
    const int cellTops[] = {147, 171, 194};
    for (int i = 0; i < 3; ++i) {
        cells_[static_cast<std::size_t>(i)] = place(new CellEdit(queryGroup_), cellNames[i], 47, cellTops[i], 60, 20);
        cells_[static_cast<std::size_t>(i)]->setProperty("tag", i + 1);
    }

    result_ = place(new LineLabel(toQtLines(ResultPlaceholder), queryGroup_), "标签4", 115, 151, 32, 64);
    queryButton_ = button(queryGroup_, "查询密保", "查询密保", 9, 221, 72, 24);
    queryButton_->installEventFilter(this);
    keyboardLink_ = place(new LinkLabel(QStringLiteral("[鼠标键盘]"), queryGroup_), "鼠标键盘按钮", 85, 226, 65, 17);
    connect(keyboardLink_, &LinkLabel::clicked, this, [this] { callHook(hooks_.openMouseKeyboard); });

    typingPanel_ = place(new QFrame(queryGroup_), "密保查询外形框", 1, 246, 153, 110);
    typingPanel_->setFrameShape(QFrame::StyledPanel);
    fullInput_ = place(new QCheckBox(QStringLiteral("启用全输模式"), typingPanel_), "一键输入选择框", 9, 8, 93, 16);
    fullInput_->setChecked(true);
    speed_ = place(new QComboBox(typingPanel_), "输入速度列表框", 104, 5, 48, 20);
    for (int i = 0; i < TypingOptions::SpeedCount; ++i)
        speed_->addItem(toQt(TypingOptions::speedName(i)));
    speed_->setCurrentIndex(3);
    label(typingPanel_, "标签7", "Alt+P键：智能热键输入", 9, 28, 142, 16);
    editButton_ = button(typingPanel_, "按钮1", "编辑密保卡", 6, 56, 70, 24);
    deleteButton_ = button(typingPanel_, "按钮5", "删除密保卡", 78, 56, 70, 24);
}

QGroupBox* MainWindow::mouseKeyboard()
{
    if (keyboard_ == nullptr)
        buildMouseKeyboard();
    return keyboard_;
}

void MainWindow::buildMouseKeyboard()
{
    // Built when first opened: its 39 widgets would otherwise add a fifth to the start-up's work.
    // A child of the client area, not of the query group: it is moved over the group when opened.
    keyboard_ = place(new QGroupBox(QStringLiteral("鼠标键盘"), centralWidget()), "鼠标键盘", 0, 0, 158, KeyboardHeight);
    keyboard_->hide();

    // Four rows of nine keys: 1-9; 0, A-H; I-Q; R-Z. 重输 and 退格 sit above them on the right.
    constexpr int columns[] = {4, 21, 38, 55, 72, 89, 105, 122, 139};
    constexpr int rows[] = {28, 49, 70, 91};
    for (int key = 1; key <= MouseKeyboard::KeyCount; ++key) {
        const QString name = QStringLiteral("键%1").arg(key);
        auto* b = new QPushButton(toQt(MouseKeyboard::keyText(key)), keyboard_);
        b->setObjectName(name);
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::NoFocus); // the coordinate box keeps the focus, as the target
        if (key == MouseKeyboard::BackspaceKey)
            b->setGeometry(110, 9, 41, 18);
        else if (key == MouseKeyboard::ClearKey)
            b->setGeometry(65, 9, 40, 18);
        else
            b->setGeometry(columns[(key - 1) % 9], rows[(key - 1) / 9], 16, 16);
        connect(b, &QPushButton::clicked, this, [this, key] {
            if (hooks_.keypadKey)
                hooks_.keypadKey(key);
        });
    }
}

void MainWindow::buildMenus()
{
    QMenuBar* bar = menuBar();

    cardMenu_ = bar->addMenu(QStringLiteral("密保卡操作(&M)"));
    readAll_ = action(cardMenu_, "读取全部密保卡(&D)", QKeySequence(Qt::CTRL | Qt::Key_D));
    cardMenu_->addSeparator();
    addCard_ = action(cardMenu_, "添加密保卡(&T)", QKeySequence(Qt::CTRL | Qt::Key_T));
    editCard_ = action(cardMenu_, "编辑密保卡(&F)", QKeySequence(Qt::CTRL | Qt::Key_F));
    deleteCard_ = action(cardMenu_, "删除密保卡(&S)", QKeySequence(Qt::CTRL | Qt::Key_S));

    QMenu* tools = bar->addMenu(QStringLiteral("工具库(&G)"));
    connect(action(tools, "数据库工具", QKeySequence(Qt::Key_F5)), &QAction::triggered, this,
            [this] { callHook(hooks_.openMaintenance); });
    tools->addSeparator();
    connect(action(tools, "Orvandel"), &QAction::triggered, this, [this] { callHook(hooks_.openOrvandel); });

    QMenu* options = bar->addMenu(QStringLiteral("软件设置(&A)"));
    connect(action(options, "登陆密码", QKeySequence(Qt::Key_F4)), &QAction::triggered, this,
            [this] { callHook(hooks_.changeLoginPassword); });
    QMenu* automatic = options->addMenu(QStringLiteral("自动功能"));
    autoSearch_ = action(automatic, "自动查询");
    autoSearch_->setCheckable(true);
    autoSearch_->setChecked(true);
    autoLine_ = action(automatic, "自动换行");
    autoLine_->setCheckable(true);
    autoLine_->setChecked(true);

    QMenu* help = bar->addMenu(QStringLiteral("帮助(&B)"));
    connect(action(help, "使用说明", QKeySequence(Qt::Key_F1)), &QAction::triggered, this,
            [this] { callHook(hooks_.openHelp); });
    connect(action(help, "意见反馈"), &QAction::triggered, this, [this] { callHook(hooks_.openFeedback); });
    connect(action(help, "官方网站(&W)", QKeySequence(Qt::Key_F3)), &QAction::triggered, this,
            [this] { callHook(hooks_.openSite); });
    help->addSeparator();
    connect(action(help, "关于软件(&Z)", QKeySequence(Qt::Key_F2)), &QAction::triggered, this,
            [this] { callHook(hooks_.openAbout); });

    // The fifth menu never shows in the bar: it is the tray icon's pop-up menu.
    trayMenu_ = new QMenu(QStringLiteral("托盘菜单"), this);
    connect(action(trayMenu_, "显示/隐藏"), &QAction::triggered, this, [this] { callHook(hooks_.trayToggle); });
    topmost_ = action(trayMenu_, "窗口置顶");
    topmost_->setCheckable(true);
    connect(topmost_, &QAction::triggered, this, [this](bool ticked) {
        if (hooks_.trayTopmost)
            hooks_.trayTopmost(ticked);
    });
    trayMenu_->addSeparator();
    QMenu* trayHelp = trayMenu_->addMenu(QStringLiteral("使用帮助"));
    connect(action(trayHelp, "使用说明"), &QAction::triggered, this, [this] { callHook(hooks_.openHelp); });
    connect(action(trayHelp, "官方网站"), &QAction::triggered, this, [this] { callHook(hooks_.openSite); });
    connect(action(trayHelp, "关于软件"), &QAction::triggered, this, [this] { callHook(hooks_.openAbout); });
    trayMenu_->addSeparator();
    action(trayMenu_, "关闭菜单"); // choosing it only closes the menu
    trayMenu_->addSeparator();
    connect(action(trayMenu_, "退出软件"), &QAction::triggered, this, [this] { callHook(hooks_.exitProgram); });
}

void MainWindow::buildStatusBar(const std::string& siteHost)
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("状态条1"));
    bar->setSizeGripEnabled(false);
    const QString texts[] = {QStringLiteral("官方网站:") + toQt(siteHost),
                             QStringLiteral("客服QQ:") + QString::fromLatin1(SupportContact), QString()};
    const int widths[] = {160, 120, 0};
    for (std::size_t i = 0; i < statusParts_.size(); ++i) {
        auto* part = new QLabel(texts[i], bar);
        part->setObjectName(QStringLiteral("状态条1_%1").arg(i));
        if (widths[i] > 0)
            part->setMinimumWidth(widths[i]); // a longer host name widens its part rather than being cut
        else
            part->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred); // the clock never squeezes the others
        bar->addWidget(part, widths[i] > 0 ? 0 : 1);
        statusParts_[i] = part;
    }
}

void MainWindow::connectBehaviour(CardList& cardList, QueryPanel& queryPanel, TypingOptions& typingOptions)
{
    Q_ASSERT(queryPanel_ == nullptr);
    queryPanel_ = &queryPanel;

    // Card list and search
    connect(searchType_, &QComboBox::activated, this, [&cardList](int index) { cardList.searchTypeChosen(index); });
    connect(keyword_, &QComboBox::activated, this,
            [this, &cardList](int index) { cardList.keywordPicked(fromQt(keyword_->itemText(index))); });
    connect(searchButton_, &QPushButton::clicked, this, [&cardList] { cardList.searchCardList(); });
    connect(addButton_, &QPushButton::clicked, this, [&cardList] { cardList.openEditorForNewCard(); });
    connect(continueButton_, &QPushButton::clicked, this, [&cardList] { cardList.continueSearch(); });
    connect(showAllButton_, &QPushButton::clicked, this, [&cardList] { cardList.showAllCards(); });
    connect(list_, &CardListWidget::keyDown, this, [&cardList](int virtualKey) { cardList.keyDown(virtualKey); });
    connect(list_, &CardListWidget::doubleClickedAnywhere, this, [&cardList] { cardList.doubleClick(); });
    connect(list_, &CardListWidget::rightClicked, this,
            [&cardList](const QPoint& pos) { cardList.rightClick(pos.x(), pos.y()); });
    connect(readAll_, &QAction::triggered, this, [&cardList] { cardList.fillCardList(); });
    connect(addCard_, &QAction::triggered, this, [&cardList] { cardList.openEditorForNewCard(); });
    connect(editCard_, &QAction::triggered, this, [&cardList] { cardList.openEditorForSelectedCard(); });
    connect(deleteCard_, &QAction::triggered, this, [&cardList] { cardList.deleteSelectedCard(); });
    connect(editButton_, &QPushButton::clicked, this, [&cardList] { cardList.openEditorForSelectedCard(); });
    connect(deleteButton_, &QPushButton::clicked, this, [&cardList] { cardList.deleteSelectedCard(); });

    // A new focused row loads its card. A click makes the row current before it selects it, so
    // the load waits until the event that moved the focus is done.
    connect(list_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this, &queryPanel](const QModelIndex& current, const QModelIndex&) {
                if (!current.isValid() || loadPending_)
                    return;
                loadPending_ = true;
                QMetaObject::invokeMethod(
                    this,
                    [this, &queryPanel] {
                        loadPending_ = false;
                        queryPanel.loadSelectedCard(selectedRow());
                    },
                    Qt::QueuedConnection);
            });

    // Query panel
    for (int cell = 1; cell <= 3; ++cell) {
        CellEdit* box = cellBox(cell);
        connect(box, &QLineEdit::textChanged, this, [&queryPanel, cell] { queryPanel.cellChanged(cell); });
        connect(box, &CellEdit::focused, this, [&queryPanel, cell] { queryPanel.cellFocused(cell); });
        connect(box, &QLineEdit::returnPressed, this, [&queryPanel] { queryPanel.runQueryButton(); });
    }
    connect(queryButton_, &QPushButton::clicked, this, [&queryPanel] { queryPanel.runQueryButton(); });
    connect(advanceTimer_, &QTimer::timeout, this, [&queryPanel] { queryPanel.advanceTimerFired(); });
    connect(copyAccount_, &QPushButton::clicked, this, [&queryPanel] { queryPanel.copyAccount(); });
    connect(copySerial_, &QPushButton::clicked, this, [&queryPanel] { queryPanel.copySerial(); });
    connect(noteLink_, &LinkLabel::clicked, this, [&queryPanel] { queryPanel.showCoordinateNote(); });
    connect(autoSearch_, &QAction::triggered, this, [&queryPanel] { queryPanel.toggleAutoSearch(); });
    connect(autoLine_, &QAction::triggered, this, [&queryPanel] { queryPanel.toggleAutoLine(); });

    // Typing options
    connect(fullInput_, &QCheckBox::clicked, this,
            [&typingOptions](bool ticked) { typingOptions.fullInputClicked(ticked); });
    connect(speed_, &QComboBox::activated, this, [&typingOptions](int index) { typingOptions.speedPicked(index); });
}

void MainWindow::connectShell(WindowShell& shell, MouseKeyboard& keyboard)
{
    hooks_.keypadKey = [&keyboard](int key) { keyboard.keyClicked(key); };
    hooks_.openMouseKeyboard = [&keyboard] { keyboard.linkClicked(); };

    hooks_.openHelp = [&shell] { shell.openHelpFile(); };
    hooks_.openSite = [&shell] { shell.openSite(); };
    hooks_.openFeedback = [&shell] { shell.openFeedback(); };
    hooks_.openOrvandel = [&shell] { shell.openOrvandel(); };
    hooks_.openAbout = [&shell] { shell.openAboutWindow(); };
    // The menu item has ticked itself already; the shell flips its own state and sets the tick to it.
    hooks_.trayTopmost = [&shell](bool) { shell.toggleTopmost(); };
    hooks_.exitProgram = [&shell] { shell.exitProgram(); };
    hooks_.clockTick = [&shell] { shell.clockTick(); };
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == queryButton_ && event->type() == QEvent::KeyPress && queryPanel_ != nullptr) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            queryPanel_->runQueryButton();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::callHook(const std::function<void()>& hook) const
{
    if (hook)
        hook();
}

CellEdit* MainWindow::cellBox(int cell) const
{
    return cells_[static_cast<std::size_t>(std::clamp(cell, 1, 3) - 1)];
}

bool MainWindow::topmostTicked() const
{
    return topmost_->isChecked();
}

void MainWindow::setAlwaysOnTop(bool onTop)
{
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (visible)
        show(); // changing the flags hides the window
}

void MainWindow::setClockText(const std::string& text)
{
    statusParts_[2]->setText(toQt(text));
}

void MainWindow::setTopmostTicked(bool ticked)
{
    topmost_->setChecked(ticked); // only triggered() reaches the behaviour
}

void MainWindow::closeMainWindow()
{
    close();
    // A hidden window (in the tray) closes without ending the event loop by itself.
    QCoreApplication::quit();
}

QString MainWindow::statusText(int part) const
{
    return statusParts_[static_cast<std::size_t>(std::clamp(part, 0, 2))]->text();
}

// CardListView

void MainWindow::clearRows()
{
    model_->clear();
}

void MainWindow::appendRows(std::vector<CardListEntry> rows)
{
    model_->append(std::move(rows));
}

std::optional<CardListEntry> MainWindow::selectedRow() const
{
    const QModelIndexList rows = list_->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return std::nullopt;
    return model_->entry(rows.first().row());
}

Size MainWindow::listGroupSize() const
{
    return {listGroup_->width(), listGroup_->height()};
}

Size MainWindow::emptyPanelSize() const
{
    return {emptyPanel_->width(), emptyPanel_->height()};
}

Size MainWindow::notFoundPanelSize() const
{
    return {notFoundPanel_->width(), notFoundPanel_->height()};
}

void MainWindow::showEmptyPanel(int left, int top)
{
    emptyPanel_->move(left, top);
    emptyPanel_->raise();
    emptyPanel_->show();
}

void MainWindow::hideEmptyPanel()
{
    emptyPanel_->hide();
}

void MainWindow::showNotFoundPanel(int left, int top)
{
    notFoundPanel_->move(left, top);
    notFoundPanel_->raise();
    notFoundPanel_->show();
}

void MainWindow::hideNotFoundPanel()
{
    notFoundPanel_->hide();
}

void MainWindow::setSearchGroupEnabled(bool enabled)
{
    searchGroup_->setEnabled(enabled);
}

int MainWindow::searchTypeIndex() const
{
    return searchType_->currentIndex();
}

std::string MainWindow::searchTypeText() const
{
    return fromQt(searchType_->currentText());
}

std::string MainWindow::keywordText() const
{
    return fromQt(keyword_->currentText());
}

void MainWindow::setKeywordPlain(const std::string& prompt)
{
    keyword_->clear();
    keyword_->setPlain(true);
    keyword_->setEditText(toQt(prompt));
}

void MainWindow::setKeywordList(const std::vector<std::string>& entries, const std::string& prompt)
{
    keyword_->clear();
    keyword_->setPlain(false);
    QStringList items;
    items.reserve(static_cast<qsizetype>(entries.size()));
    for (const std::string& entry : entries)
        items.append(toQt(entry));
    keyword_->addItems(items);
    keyword_->setCurrentIndex(-1);
    keyword_->setEditText(toQt(prompt));
}

void MainWindow::setKeywordText(const std::string& text)
{
    keyword_->setEditText(toQt(text));
}

void MainWindow::focusKeyword()
{
    keyword_->setFocus(Qt::OtherFocusReason);
}

void MainWindow::popupCardMenu(int x, int y)
{
    cardMenu_->popup(QPoint(x, y));
}

// QueryPanelView

void MainWindow::setQueryGroupEnabled(bool enabled)
{
    queryGroup_->setEnabled(enabled);
}

void MainWindow::setQueryGroupCaption(const std::string& caption)
{
    queryGroup_->setTitle(toQt(caption));
}

void MainWindow::setAccountText(const std::string& text)
{
    account_->setText(toQt(text));
}

std::string MainWindow::accountText() const
{
    return fromQt(account_->text());
}

void MainWindow::setSerialText(const std::string& text)
{
    serial_->setText(toQt(text));
}

std::string MainWindow::serialText() const
{
    return fromQt(serial_->text());
}

std::string MainWindow::cellText(int cell) const
{
    return fromQt(cellBox(cell)->text());
}

void MainWindow::setCellText(int cell, const std::string& text)
{
    cellBox(cell)->setText(toQt(text));
}

void MainWindow::focusCell(int cell)
{
    cellBox(cell)->setFocus(Qt::OtherFocusReason);
}

void MainWindow::focusQueryButton()
{
    queryButton_->setFocus(Qt::OtherFocusReason);
}

void MainWindow::setQueryButtonCaption(const std::string& caption)
{
    queryButton_->setText(toQt(caption));
}

void MainWindow::setResultText(const std::string& text)
{
    result_->setText(toQtLines(text));
}

void MainWindow::startAdvanceTimer(int milliseconds)
{
    advanceTimer_->start(milliseconds);
}

void MainWindow::stopAdvanceTimer()
{
    advanceTimer_->stop();
}

void MainWindow::setAutoSearchTicked(bool ticked)
{
    autoSearch_->setChecked(ticked); // only triggered() reaches the behaviour
}

void MainWindow::setAutoLineTicked(bool ticked)
{
    autoLine_->setChecked(ticked);
}

// TypingOptionsView

void MainWindow::setFullInputTicked(bool ticked)
{
    fullInput_->setChecked(ticked); // only clicked() reaches the behaviour
}

void MainWindow::setSpeedIndex(int index)
{
    speed_->setCurrentIndex(index >= 0 && index < speed_->count() ? index : -1);
}

// MouseKeyboardView

Rect MainWindow::queryGroupRect() const
{
    const QRect g = queryGroup_->geometry();
    return {g.x(), g.y(), g.width(), g.height()};
}

int MainWindow::keyboardHeight() const
{
    return keyboard_ != nullptr ? keyboard_->height() : KeyboardHeight;
}

void MainWindow::showKeyboard(int left, int top)
{
    QGroupBox* keyboard = mouseKeyboard();
    keyboard->move(left, top);
    keyboard->raise();
    keyboard->show();
}

void MainWindow::hideKeyboard()
{
    if (keyboard_ != nullptr)
        keyboard_->hide();
}

void MainWindow::setTypingPanelVisible(bool visible)
{
    typingPanel_->setVisible(visible);
}

void MainWindow::setKeyboardLinkText(const std::string& text)
{
    keyboardLink_->setText(toQt(text));
}

// MainFrame

void MainWindow::setCaption(const std::string& caption)
{
    setWindowTitle(toQt(caption));
}

void MainWindow::setWidth(int width)
{
    setFixedWidth(width);
}

void MainWindow::attachSkin(const std::string& styleSheetPath)
{
    QFile file(QFile::decodeName(QByteArray::fromStdString(styleSheetPath)));
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray sheet = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return;
    qApp->setStyleSheet(QString::fromUtf8(sheet));
}

} // namespace velkora
