#pragma once
// The program's icon, built into the program: the main window, the about banner and the tray.

#include <QIcon>

namespace velkora {

QIcon velkoraIcon();

} // namespace velkora
