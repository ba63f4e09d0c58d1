#include "platform/qt/QtTrayIcon.h"

#include <QCursor>
#include <QMenu>
#include <QWidget>

#include <utility>

#include "mainwindow/WindowShell.h"
#include "platform/qt/QtText.h"

namespace velkora {

QtTrayIcon::QtTrayIcon(QWidget& window, QMenu& menu, std::function<void()> toggleWindow)
    : window_(window), menu_(menu), toggleWindow_(std::move(toggleWindow))
{
}

QtTrayIcon::~QtTrayIcon() = default;

void QtTrayIcon::addTrayIcon(const std::string& tip)
{
    if (icon_ || !QSystemTrayIcon::isSystemTrayAvailable())
        return;
    icon_ = std::make_unique<QSystemTrayIcon>(window_.windowIcon());
    icon_->setToolTip(toQt(trayTipText(tip)));
    // No context menu is handed to the tray: the menu opens at our own place on the context request.
    connect(icon_.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) { activate(reason, QCursor::pos()); });
    icon_->show();
}

void QtTrayIcon::activate(QSystemTrayIcon::ActivationReason reason, const QPoint& pointer)
{
    switch (reason) {
    // Every left click toggles. Qt reports the second click of a quick pair as a double click
    // instead of a second trigger; it is still a click of its own, so it toggles back.
    case QSystemTrayIcon::Trigger:
    case QSystemTrayIcon::DoubleClick:
        if (toggleWindow_)
            toggleWindow_();
        break;
    case QSystemTrayIcon::Context:
        menu_.popup(pointer + QPoint(MenuOffset, MenuOffset));
        break;
    default: // the middle button has no action of its own
        break;
    }
}

} // namespace velkora
