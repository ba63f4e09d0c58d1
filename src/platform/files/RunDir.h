#pragma once

#include <string>

namespace velkora {

// The directory of the running executable (from /proc/self/exe), without a trailing slash, so
// that every file of the program is runDir() + "/" + name; the root directory gives "". When the
// executable's path cannot be read, "." (the current directory).
std::string runDir();

} // namespace velkora
