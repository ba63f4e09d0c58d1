#include "platform/qt/AboutWindow.h"

#include <QFrame>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>

#include <algorithm>
#include <utility>

#include "carddata/Text.h"
#include "platform/qt/AppIcon.h"
#include "platform/qt/MainWindowControls.h"
#include "platform/qt/Placement.h"
#include "platform/qt/QtText.h"
#include "startup/StartupSequence.h"

namespace velkora {
namespace {

// The banner across the top: the program's icon and name on a blue band with a faint card grid.
class Banner final : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF area = rect();

        QLinearGradient band(area.topLeft(), area.bottomRight());
        band.setColorAt(0.0, QColor(0x17, 0x4a, 0x8c));
        band.setColorAt(1.0, QColor(0x2a, 0x8a, 0xc8));
        p.fillRect(area, band);

        // A matrix card's grid fading in on the right.
        p.setPen(QPen(QColor(255, 255, 255, 40), 1));
        for (int x = 200; x < width(); x += 16)
            p.drawLine(QPointF(x + 0.5, 0), QPointF(x + 0.5, height()));
        for (int y = 8; y < height(); y += 16)
            p.drawLine(QPointF(200, y + 0.5), QPointF(width(), y + 0.5));

        const QPixmap icon = velkoraIcon().pixmap(56, 56);
        p.drawPixmap(16, (height() - 56) / 2, icon);

        QFont title = font();
        title.setPixelSize(28);
        title.setBold(true);
        p.setFont(title);
        p.setPen(Qt::white);
        p.drawText(QRect(84, 14, 240, 36), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Velkora"));

        QFont subtitle = font();
        subtitle.setPixelSize(13);
        p.setFont(subtitle);
        p.setPen(QColor(0xd8, 0xe8, 0xf8));
        p.drawText(QRect(86, 50, 240, 22), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("密保卡记录与查询工具"));
    }
};

} // namespace

AboutWindow::AboutWindow(const std::string& siteHost, std::function<void()> openSite, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("关于软件"));
    setWindowTitle(QStringLiteral("关于软件"));
    QFont designed = font();
    designed.setPixelSize(12);
    setFont(designed);
    setFixedSize(Width, Height);

    place(new Banner(this), "图片框1", 0, 0, 336, 88);

    // The credits.
    place(new LineLabel(QStringLiteral("Velkora 密保卡管理软件  Ver ") + toQt(RunningVersion), this), "标签1", 24,
          100, 288, 16);
    place(new LineLabel(QStringLiteral("设计与编写：Tamrel工作室  本软件永久免费使用"), this), "标签2", 24, 120, 288,
          16);

    place(new LineLabel(toQtLines(VK_TEXT("\r\n一款记录各种帐号密保卡的软件。\r\n可以安全保存、快速查询坐标值。\r\n"
                                          "更多实用的功能，将会陆续开发。")),
                        this),
          "标签3", 24, 144, 288, 64);

    auto* link = place(new LinkLabel(QStringLiteral("Tamrel工作室：") + toQt(siteHost), this), "超级链接框2", 24, 248,
                       208, 16);
    // A host name longer than the designed width widens the link up to the window's margin rather
    // than being cut.
    link->resize(std::clamp(link->sizeHint().width(), 208, Width - 2 * 24), 16);
    connect(link, &LinkLabel::clicked, this, [open = std::move(openSite)] {
        if (open)
            open();
    });

    auto* line = place(new QFrame(this), "外形框1", 12, 272, 308, 8);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto* cancel = place(new QPushButton(QStringLiteral("取 消"), this), "按钮1", 232, 282, 80, 31);
    cancel->setDefault(true);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QtAboutWindowOpener::QtAboutWindowOpener(QWidget& owner, std::string siteHost)
    : owner_(owner), siteHost_(std::move(siteHost))
{
}

void QtAboutWindowOpener::openAboutWindow()
{
    AboutWindow window(siteHost_, openSite_, &owner_);
    window.setWindowModality(Qt::WindowModal);
    window.exec();
}

} // namespace velkora
