// Line, text and raw value IO on byte streams, and numbers scanned from them.
//
// Text travels one byte per character, without code-page conversion: a byte
// b read becomes the character b (0..255, so 128..255 come out as Latin-1),
// and a character u written becomes the byte u & 0xFF (the high byte is
// dropped). Every function works from the stream's current position.
//
// Raw values are the value's bytes, little-endian, with no tag or separator:
// a 32-bit integer is 4 bytes of two's complement, a double 8 bytes of IEEE
// binary64, an extended value the 10 bytes of the x87 80-bit format (64-bit
// significand with its explicit integer bit, then sign and 15-bit exponent).
#pragma once

#include <cstdint>

#include "kyn/platform/streams.h"
#include "kyn/platform/string.h"

namespace kyn {

// Writes Text, one byte per character, without terminator. Bytes are gathered
// in blocks of 4096 and each block goes out with one WriteBuffer call; the
// stream's write error passes to the caller.
void WriteStringStream(TStream& OutStream, StringView Text);
// Writes Text like WriteStringStream, then CR LF.
void WriteLnStream(TStream& OutStream, StringView Text);
// Writes the 10 bytes of the x87 extended value.
void WriteExtendedToStream(TStream& OutStream, long double Value);
// Writes the 4 bytes of the integer.
void WriteLongintToStream(TStream& OutStream, int32_t Value);

// Line-end modes of ReadLnStream.
constexpr int32_t lemLF = 0;      // LF ends a line
constexpr int32_t lemCR = 1;      // CR ends a line
constexpr int32_t lemCROrLF = 2;  // either ends a line
constexpr int32_t lemLFCR = 3;    // a CR right after an LF ends a line
constexpr int32_t lemCRLF = 4;    // an LF right after a CR ends a line
// Any other mode: nothing ends a line, it runs to the end of the stream.

// Reads one line, one byte per Read call. Bytes from 32 up and TAB are kept;
// other control bytes are dropped, and the one that ends the line by Mode is
// consumed. A terminating pair must lie within one call. EndOfStream is set
// when the stream ended before a line end; a line that ends with its
// terminator leaves it false even at the end of the stream.
String ReadLnStream(TStream& InStream, bool& EndOfStream, int32_t Mode);

// The value readers never raise: a short stream or any exception while
// reading sets Error; the value then holds the bytes that arrived, the rest
// zero. Otherwise Error is false.
long double ReadExtendedFromStream(TStream& InStream, bool& Error);
double ReadDoubleFromStream(TStream& InStream, bool& Error);
int32_t ReadLongintFromStream(TStream& InStream, bool& Error);

// Reads byte by byte up to and including the first byte equal to B; true when
// found (the stream then stands just after it), false when the stream ended.
bool FindInStream(TStream& InStream, uint8_t B);

// The rest of the stream as text, read in blocks of 256 bytes up to the first
// short block; the stream is left at its end.
String StreamAsString(TStream& InStream);

// Reads in blocks of 256 bytes until Target occurs, ignoring the case of the
// ASCII letters. Found: ErrCode is 0, the text up to and including the target
// is returned in its own case and the stream is set just after the target.
// Not found (an empty target never is): ErrCode is -1, the whole rest of the
// stream is returned and the stream is left where reading stopped (its end
// for a stream that delivers full blocks until its end).
// Each block is searched only where a new occurrence can end, so the work is
// linear in the text read.
String ReadStreamUntil(TStream& InStream, StringView Target, int32_t& ErrCode);

// Number of LF bytes from the position to the end; the stream is left at its
// end. A last line without LF is not counted.
int32_t CountLinesInStream(TStream& InStream);

// Skips blanks, LF and CR (not TAB), reads an optional sign and decimal digits
// and returns the value, wrapping modulo 2^32; 0 when no digit comes. The byte
// that ended the number is consumed.
int32_t ScanStreamDecimal(TStream& InStream);

// Reads a floating-point number byte by byte: skips TAB, LF, CR and blanks,
// then an optional sign, digits, a decimal separator by DecSepMode (1 ".",
// 2 ",", 3 either, anything else none) and, when ExpAllowed, an exponent
// ("E" or "e", optional sign, digits). Exponent digits beyond a value of 4200
// are consumed but not used. The value is formed in 80 bits and clamped to
// +-uc_MaxDouble before it is narrowed to double. Malformed input gives 0.
// The byte that ended (or broke) the number is consumed.
double ScanStreamFPNum(TStream& InStream, bool ExpAllowed, int32_t DecSepMode);

}  // namespace kyn
