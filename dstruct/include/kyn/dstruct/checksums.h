// Checksums, digests and encodings: CRC-16 (two start values) and CRC-32 over
// bytes, buffers and files; SHA-1 of strings, streams and files; an ASCII85
// coder between byte streams; stepping through combinations and permutations;
// the index of the array element nearest to a value.
//
// None of these keeps state between calls; all are reentrant.
//
// Speed: CRC32ofBuffer and CRC32Update fold blocks with carry-less
// multiplication when the processor has it (256-byte steps with VPCLMULQDQ
// and AVX-512, else 64-byte steps with PCLMULQDQ; checked at run time) and
// use an eight-table slicing loop otherwise; CRC-16 uses a sixteen-table
// slicing loop. SHA-1 uses the processor's SHA instructions when present and
// a portable implementation otherwise. Every path gives the same results as
// the one-byte steps CalcNextCRC16/CalcNextCRC32 and FIPS 180-1.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "kyn/kynbase/types.h"
#include "kyn/platform/streams.h"
#include "kyn/platform/string.h"

namespace kyn {

enum TCRC16Mode : uint8_t {
  crcZModem = 0,  // CRC-16/XMODEM: start 0x0000 (check value 0x31C3)
  crcCCITT = 1,   // CRC-16/IBM-3740 ("CCITT-FALSE"): start 0xFFFF (check value 0x29B1)
};

// A SHA-1 digest: the five state words, most significant byte first.
using TSHACode = std::array<uint8_t, 20>;

// Byte 0 holds the count k (elements of a combination, or m of a
// permutation); bytes 1..count hold the elements, each in 1..255.
using TCombination = std::array<uint8_t, 256>;

// ------------------------------------------------------------------ CRC-16

// One byte into a running CRC-16 (polynomial 0x1021, most significant bit
// first, no reflection).
uint16_t CalcNextCRC16(uint8_t b, uint16_t crc);

// CRC-16 of Buf[0..Count-1] from the start value of Mode, with no final
// inversion. Count is clamped to 0..Buf.size(): a count of 0 or less gives
// the start value, a count beyond the buffer covers the whole buffer.
uint16_t CRC16ofBuffer(const TBytes& Buf, int32_t Count, TCRC16Mode Mode);

// Running form for data arriving in pieces: folds Len bytes into Crc (start
// with 0x0000 or 0xFFFF as the mode says; the result is the CRC so far).
uint16_t CRC16Update(uint16_t Crc, const void* Data, size_t Len);

// ------------------------------------------------------------------ CRC-32

// One byte into a running CRC-32 (reflected polynomial 0xEDB88320). The
// running value is the CRC register before the final complement.
uint32_t CalcNextCRC32(uint8_t b, uint32_t crc);

// CRC-32 (ISO-HDLC, as zip and PNG use it) of Buf[0..Count-1]. Count is
// clamped to 0..Buf.size() like CRC16ofBuffer's.
uint32_t CRC32ofBuffer(const TBytes& Buf, int32_t Count);

// Running form: folds Len bytes into the register value Crc (start with
// 0xFFFFFFFF and complement the final value to get the CRC-32).
uint32_t CRC32Update(uint32_t Crc, const void* Data, size_t Len);

// CRC-32 of the named file, read in 4096-byte blocks. Any failure to open or
// read the file gives 0, the same as for an empty file; nothing is raised.
uint32_t CalcCRC32ofFile(const String& FileName);

// ------------------------------------------------------------------- SHA-1

// Incremental SHA-1. The working state is wiped after the final digest.
class TSHA1Context {
 public:
  // UseHardware false keeps to the portable block function even when the
  // processor has SHA instructions (for comparisons).
  explicit TSHA1Context(bool UseHardware = true);
  ~TSHA1Context() { Wipe(); }
  TSHA1Context(const TSHA1Context&) = delete;
  TSHA1Context& operator=(const TSHA1Context&) = delete;
  void Reset();
  void Update(const void* Data, size_t Len);
  // The digest of everything added since the last Reset; the context is then
  // wiped and reset for new input.
  TSHACode Final();

 private:
  void Wipe();
  void (*FBlocks)(uint32_t*, const uint8_t*, size_t);
  uint32_t FState[5];
  uint64_t FBitCount;
  uint8_t FBlock[64];
  uint32_t FFill;
};

// SHA-1 of the string's UTF-8 encoding, so the digest of a text equals what
// other tools give for the same text saved as UTF-8.
TSHACode SHA1FromString(const String& S);
// SHA-1 of the stream's bytes from its current position to its end; the
// stream is left at its end.
TSHACode SHA1FromStream(TStream& Stream);
// SHA-1 of the named file. A file that cannot be opened raises the stream's
// open error (EFOpenError).
TSHACode SHA1FromFile(const String& FileName);
// 40 upper-case hexadecimal digits, first digest byte first.
String SHA1DigestToHex(const TSHACode& Digest);

// ------------------------------------------------------------------ ASCII85

// Writes Source's bytes from its position to its end to Target as ASCII85:
// each group of four bytes as five characters "!".."u" (a zero group as "z"),
// a final group of n = 1..3 bytes as n + 1 characters (no padding), then
// "~>". No "<~", no line breaks.
void EncodeASCII85(TStream& Source, TStream& Target);

// Decodes ASCII85 text from Source into Target. Carriage returns and line
// feeds are skipped; a group holding "~" ends decoding with the characters
// before its last "~" (Source is then left behind that group); a source that
// ends without "~>" still gives its last, short group. Returns 0 when every
// character was valid, otherwise the code of the last offending character:
// -2 for a "z" inside a group, -1 for any other character outside "!".."u".
// Offending characters still enter the group's value.
int32_t DecodeASCII85(TStream& Source, TStream& Target);

// ------------------------------------------------- Combinations and order

// Steps C (k = C[0] elements in increasing order, a k-combination of 1..N) to
// the next combination in lexicographic order and returns true; returns false
// and leaves C unchanged after the last one. Arguments outside 1 <= k <= N <=
// 255 also give false with C unchanged.
bool NextCombination(TCombination& C, int32_t N);

// Steps P (m = P[0] elements, a permutation of 1..m) to the next permutation
// of the library's order (for m = 3: 123, 213, 231, 132, 312, 321) and
// returns true; returns false with P unchanged after the last one. m = 0, and
// P[1..m] that is not a permutation of 1..m, give false and leave P
// unchanged.
bool NextPermutation(TCombination& P);

// 0-based index of the element nearest to X (ties to the lowest index), -1
// for an empty array or when no distance is below 1.7e308.
int32_t IndexOfNearestArrayValue(double X, const TDoubleArray& Arr);
// The same for integers. Distances are computed exactly in 64 bits, so
// values far apart compare correctly.
int32_t IndexOfNearestArrayValue(int32_t X, const TIntArray& Arr);

namespace detail {

// The individual paths behind the functions above, for tests and benchmarks.
uint32_t Crc32Slice8(uint32_t Crc, const uint8_t* Data, size_t Len);
uint16_t Crc16Slice16(uint16_t Crc, const uint8_t* Data, size_t Len);
bool Crc32HasClmul();
// Only to be called when Crc32HasClmul() is true.
uint32_t Crc32Clmul(uint32_t Crc, const uint8_t* Data, size_t Len);
// 512-bit carry-less multiplication (VPCLMULQDQ with AVX-512).
bool Crc32HasVpclmul();
// Only to be called when Crc32HasVpclmul() is true.
uint32_t Crc32Vpclmul(uint32_t Crc, const uint8_t* Data, size_t Len);

bool Sha1HasShaNi();
void Sha1BlocksPortable(uint32_t State[5], const uint8_t* Data, size_t Blocks);
// Only to be called when Sha1HasShaNi() is true.
void Sha1BlocksShaNi(uint32_t State[5], const uint8_t* Data, size_t Blocks);

}  // namespace detail

}  // namespace kyn
