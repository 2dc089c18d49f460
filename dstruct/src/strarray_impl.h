// Helpers shared by the sources of TStringArray.
#pragma once

#include "kyn/platform/string.h"

namespace kyn::detail {

// Caller text to cell bytes: Windows-1252, "?" for a character without a
// byte (a surrogate pair counts as one character), cut to 255 bytes.
AnsiString EncodeCellText(StringView s);
// s with A-Z mapped to a-z.
String LowerAZ(StringView s);

}  // namespace kyn::detail
