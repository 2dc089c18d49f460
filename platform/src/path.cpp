#include "kyn/platform/path.h"

namespace kyn {

std::string ResolvePath(const String& FileName) { return StringToUtf8(FileName); }

}  // namespace kyn
