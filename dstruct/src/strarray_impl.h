// Helpers shared by the sources of TStringArray.
#pragma once

#include <cstdint>

#include "kyn/platform/string.h"

namespace kyn::detail {

// Caller text to cell bytes: Windows-1252, "?" for a character without a
// byte (a surrogate pair counts as one character), cut to 255 bytes.
AnsiString EncodeCellText(StringView s);
// The same into a buffer; returns the length.
uint32_t EncodeCellText(StringView s, uint8_t (&out)[255]);

}  // namespace kyn::detail
