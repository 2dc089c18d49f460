// UU coding of strings in the classic uuencode body-line format, so that the
// lines go through the standard uuencode/uudecode tools.
//
// A string stands for bytes, one character per byte (codes 0..255), as the
// library's byte streams do.
#pragma once

#include "kyn/platform/string.h"

namespace kyn {

// Encodes the bytes of s as body lines of at most 45 bytes each: a length
// character (32 + count) followed by groups of 4 characters for every 3 bytes
// (the last group padded with zero bits), each character 32 + a 6-bit value,
// with "`" instead of the blank for the value 0 so no line ends in blanks.
// Lines are separated by LF; there is no trailing line end and no
// "begin"/"end" frame. "" encodes to "". A string holding a character above
// code 255 is not a byte string: the result is "".
String UUEncodeStr(StringView s);

// Decodes body lines (separated by CR, LF or CR LF; empty lines are skipped)
// back to one character per byte. Both "`" and the blank stand for 0. A line
// shorter than its length character asks for is read as if padded with
// zeros (mail transports strip trailing blanks); characters after the
// encoded bytes are ignored. A line beginning with "begin " is skipped and
// decoding stops at a line of length 0 or a line "end", so a whole uuencoded
// file decodes as well. A character outside codes 32..96 where a length or
// data character is expected makes the input invalid: the result is "".
String UUDecodeStr(StringView s);

}  // namespace kyn
