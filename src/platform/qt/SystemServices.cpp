#include "platform/qt/SystemServices.h"

#include <QDateTime>

#include <malloc.h>

namespace velkora {

LocalTime QtLocalClock::localNow() const
{
    const QDateTime now = QDateTime::currentDateTime();
    const QDate date = now.date();
    const QTime time = now.time();
    // Qt counts Monday as 1 and Sunday as 7.
    return {date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second(), date.dayOfWeek() % 7};
}

void HeapTrimmer::trimMemory()
{
    malloc_trim(0);
}

} // namespace velkora
