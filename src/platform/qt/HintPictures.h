#pragma once
// The editor's two orientation hint pictures, drawn at run time: a blue table of 6 x 5 cells
// whose first row and column are headings. Across: letters A to E along the top, numbers 1 to 4
// down the side (143 x 119). Down: numbers 1 to 5 along the top, letters A to D down the side
// (143 x 118).

#include <QPixmap>
#include <QSize>

#include "carddata/CardGrid.h"

namespace velkora {

QSize hintPictureSize(Orientation orientation);

// The picture at its own size, or scaled to fit `box` (keeping its proportions, centred).
QPixmap hintPicture(Orientation orientation);
QPixmap hintPicture(Orientation orientation, QSize box);

} // namespace velkora
