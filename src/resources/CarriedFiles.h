#pragma once
// Files the program carries inside itself, built in from src/resources at build time.

#include <string_view>

namespace velkora {

// The skin: the program's own Qt style sheet, written out beside the program as "skinh.she".
std::string_view carriedSkin();

// The program's icon, a 64 x 64 PNG picture.
std::string_view carriedIcon();

} // namespace velkora
