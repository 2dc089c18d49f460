// The one place where a file name given to the library becomes a path of the
// operating system. Every file the library opens by name goes through it.
#pragma once

#include <string>

#include "kyn/platform/string.h"

namespace kyn {

// Maps a library file name to a POSIX path (UTF-8).
std::string ResolvePath(const String& FileName);

}  // namespace kyn
