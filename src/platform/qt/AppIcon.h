#pragma once
// The program's icon, built into the program: the main window, the about banner and the tray.

#include <QIcon>
#include <QImage>

namespace velkora {

// The carried picture, 64 x 64; a null image if it cannot be read.
QImage carriedIconImage();

QIcon velkoraIcon();

} // namespace velkora
