// Message boxes, clipboard, shell and skin as the behaviours get them from Qt.

#include <QClipboard>
#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include <fstream>
#include <functional>

#include "GuiSupport.h"
#include "platform/qt/MainWindow.h"
#include "platform/qt/QtServices.h"
#include "support/Fakes.h"

namespace velkora::testing {
namespace {

struct SeenBox {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString caption;
    QString text;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::StandardButtons buttons;
    Qt::WindowModality modality = Qt::NonModal;
    bool hasParent = true;
};

// Waits for the next modal message box, records it and closes it with `answer`.
void answerNextBox(SeenBox& seen, QMessageBox::StandardButton answer)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, &seen, answer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr)
            return;
        seen = {box->icon(),          box->windowTitle(),         box->text(),
                box->textFormat(),    box->standardButtons(),     box->windowModality(),
                box->parentWidget() != nullptr};
        if (answer == QMessageBox::Escape)
            QTest::keyClick(box, Qt::Key_Escape);
        else
            box->button(answer)->click();
        poll->deleteLater();
    });
    poll->start(10);
}

TEST(QtMessageService, BoxesHaveTheirIconCaptionPlainTextAndOkButton)
{
    QtMessageService messages;
    const std::pair<MessageIcon, QMessageBox::Icon> icons[] = {
        {MessageIcon::Error, QMessageBox::Critical},
        {MessageIcon::Information, QMessageBox::Information},
        {MessageIcon::None, QMessageBox::NoIcon},
    };
    for (const auto& [icon, qtIcon] : icons) {
        SCOPED_TRACE(static_cast<int>(icon));
        SeenBox seen;
        answerNextBox(seen, QMessageBox::Ok);
        messages.showMessage(gb("密保卡：[网游]-[<b>x</b>]\r\n已经被删除！"), icon, gb("热键冲突，被其他程序占用！"));
        EXPECT_EQ(seen.icon, qtIcon);
        EXPECT_EQ(seen.caption, q("热键冲突，被其他程序占用！"));
        EXPECT_EQ(seen.text, q("密保卡：[网游]-[<b>x</b>]\n已经被删除！"));
        EXPECT_EQ(seen.format, Qt::PlainText);
        EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        EXPECT_EQ(seen.modality, Qt::ApplicationModal);
        EXPECT_FALSE(seen.hasParent);
    }

    SeenBox seen;
    answerNextBox(seen, QMessageBox::Ok);
    messages.showMessage(gb("信息"), MessageIcon::Information);
    EXPECT_EQ(seen.caption, q("信息："));
}

TEST(QtMessageService, OnlyYesAnswersAQuestion)
{
    QtMessageService messages;
    const std::pair<QMessageBox::StandardButton, bool> answers[] = {
        {QMessageBox::Yes, true}, {QMessageBox::No, false}, {QMessageBox::Escape, false}};
    for (const auto& [answer, expected] : answers) {
        SCOPED_TRACE(static_cast<int>(answer));
        SeenBox seen;
        answerNextBox(seen, answer);
        EXPECT_EQ(messages.askYesNo(gb("是否删除密保卡：[网游]-[bob]？")), expected);
        EXPECT_EQ(seen.icon, QMessageBox::Question);
        EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
        EXPECT_EQ(seen.caption, q("信息："));
    }
}

TEST(QtClipboard, PutsTheTextOnTheClipboard)
{
    QtClipboard clipboard;
    clipboard.setText(gb("帐号abc"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), q("帐号abc"));
}

class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

TEST(QtShell, OpensOnlyWebAddressesAndLocalFiles)
{
    UrlRecorder recorder;
    const char* schemes[] = {"http", "https", "file", "javascript", "ftp", "mailto"};
    for (const char* scheme : schemes)
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &recorder, "open");

    QtShell shell;
    for (const char* url : {"http://127.0.0.1:8080/forum/?type=list&sid=4", "https://www.tamrel.example/",
                            "javascript:alert(1)", "file:///etc/passwd", "ftp://www.tamrel.example/x",
                            "mailto:a@b.example", "http://", "www.tamrel.example", ""})
        shell.openUrl(url);
    shell.openFile("/tmp/velkora run/help.mht");

    for (const char* scheme : schemes)
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));

    EXPECT_EQ(recorder.opened, (QList<QUrl>{QUrl(QStringLiteral("http://127.0.0.1:8080/forum/?type=list&sid=4")),
                                            QUrl(QStringLiteral("https://www.tamrel.example/")),
                                            QUrl::fromLocalFile(QStringLiteral("/tmp/velkora run/help.mht"))}));
}

TEST(MainWindowSkin, AttachesAReadableStyleSheetAndIgnoresAMissingOne)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string path = (dir.path() + QStringLiteral("/skinh.she")).toStdString();
    const std::string sheet = "QPushButton { color: rgb(1, 2, 3); } /* 皮肤 */";
    std::ofstream(path, std::ios::binary) << sheet;

    MainWindow window("www.tamrel.example");
    window.attachSkin(path);
    EXPECT_EQ(qApp->styleSheet(), q(sheet));

    window.attachSkin(path + ".missing");
    window.attachSkin(dir.path().toStdString()); // a directory cannot be read as a file
    EXPECT_EQ(qApp->styleSheet(), q(sheet));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    qApp->setStyleSheet(QString());
}

} // namespace
} // namespace velkora::testing

#include "ServicesTest.moc"
