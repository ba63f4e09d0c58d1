#include "platform/qt/AppIcon.h"

#include <QImage>
#include <QPixmap>

#include <png.h>

#include "resources/CarriedFiles.h"

namespace velkora {

// The carried PNG is read with libpng directly: Qt's image reader would first load and probe
// every image format plugin installed, which costs more at start-up than the picture itself.
QImage carriedIconImage()
{
    const std::string_view png = carriedIcon();
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, png.data(), png.size()))
        return {};
    image.format = PNG_FORMAT_RGBA;
    QImage pixels(static_cast<int>(image.width), static_cast<int>(image.height), QImage::Format_RGBA8888);
    if (pixels.isNull() ||
        !png_image_finish_read(&image, nullptr, pixels.bits(), static_cast<png_int_32>(pixels.bytesPerLine()), nullptr)) {
        png_image_free(&image);
        return {};
    }
    return pixels;
}

QIcon velkoraIcon()
{
    return QIcon(QPixmap::fromImage(carriedIconImage()));
}

} // namespace velkora
