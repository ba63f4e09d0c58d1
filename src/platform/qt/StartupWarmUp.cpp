#include "platform/qt/StartupWarmUp.h"

#include <QApplication>
#include <QDBusConnection>
#include <QFontMetrics>

#include <fontconfig/fontconfig.h>

namespace velkora {

EarlyWork::EarlyWork(std::function<void()> work) : thread_(std::move(work)) {}

EarlyWork::~EarlyWork()
{
    finish();
}

void EarlyWork::finish()
{
    if (thread_.joinable())
        thread_.join();
}

void warmUpFontConfig()
{
    (void)FcInit();
}

void warmUpSessionBus()
{
    (void)QDBusConnection::sessionBus().isConnected();
}

void warmUpApplicationFont()
{
    (void)QFontMetrics(QApplication::font()).horizontalAdvance(QStringLiteral("密保卡查询 ABC 123"));
}

} // namespace velkora
