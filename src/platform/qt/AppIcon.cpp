#include "platform/qt/AppIcon.h"

#include <QPixmap>

#include "resources/CarriedFiles.h"

namespace velkora {

QIcon velkoraIcon()
{
    const std::string_view png = carriedIcon();
    QPixmap pixmap;
    pixmap.loadFromData(reinterpret_cast<const uchar*>(png.data()), static_cast<uint>(png.size()), "PNG");
    return QIcon(pixmap);
}

} // namespace velkora
