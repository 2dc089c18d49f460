#include "kyn/streams/streamio.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <locale.h>

#include <string>

#include "kyn/streams/foldmatch.h"
#include "kyn/univconst.h"

namespace kyn {

namespace {

constexpr int64_t kWriteBlock = 4096;
constexpr int64_t kReadBlock = 256;

// One byte from the stream; false when the read delivered nothing.
bool ReadByte(TStream& s, uint8_t& b) { return s.Read(&b, 1) > 0; }

// Reads Count raw bytes into a zeroed buffer; Error tells whether they all came.
void ReadRaw(TStream& s, uint8_t* buf, int64_t Count, bool& Error) {
  std::memset(buf, 0, static_cast<size_t>(Count));
  try {
    s.ReadBuffer(buf, Count);
    Error = false;
  } catch (...) {
    Error = true;  // the bytes that arrived stay in the buffer
  }
}

}  // namespace

// ------------------------------------------------------------------ writers

void WriteStringStream(TStream& OutStream, StringView Text) {
  if (Text.empty()) return;
  uint8_t buf[kWriteBlock];
  int64_t n = 0;
  for (char16_t c : Text) {
    buf[n++] = static_cast<uint8_t>(c & 0xFF);
    if (n == kWriteBlock) {
      OutStream.WriteBuffer(buf, n);
      n = 0;
    }
  }
  OutStream.WriteBuffer(buf, n);
}

void WriteLnStream(TStream& OutStream, StringView Text) {
  WriteStringStream(OutStream, Text);
  static constexpr uint8_t kCRLF[2] = {13, 10};
  OutStream.WriteBuffer(kCRLF, 2);
}

void WriteExtendedToStream(TStream& OutStream, long double Value) {
  uint8_t buf[sizeof(long double)];
  std::memcpy(buf, &Value, sizeof Value);
  OutStream.WriteBuffer(buf, 10);  // the x87 format occupies the first 10 bytes
}

void WriteLongintToStream(TStream& OutStream, int32_t Value) {
  const auto u = static_cast<uint32_t>(Value);
  const uint8_t buf[4] = {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8),
                          static_cast<uint8_t>(u >> 16), static_cast<uint8_t>(u >> 24)};
  OutStream.WriteBuffer(buf, 4);
}

// ------------------------------------------------------------------ readers

String ReadLnStream(TStream& InStream, bool& EndOfStream, int32_t Mode) {
  String line;
  EndOfStream = false;
  bool ended = false;
  uint8_t cur = 0;
  while (!ended) {
    const uint8_t prev = cur;
    if (!ReadByte(InStream, cur)) {
      EndOfStream = true;
      break;
    }
    if (cur >= 32 || cur == 9) {
      line += static_cast<char16_t>(cur);
      continue;
    }
    switch (Mode) {
      case lemLF: ended = cur == 10; break;
      case lemCR: ended = cur == 13; break;
      case lemCROrLF: ended = cur == 10 || cur == 13; break;
      case lemLFCR: ended = cur == 13 && prev == 10; break;
      case lemCRLF: ended = cur == 10 && prev == 13; break;
      default: break;
    }
  }
  return line;
}

long double ReadExtendedFromStream(TStream& InStream, bool& Error) {
  uint8_t buf[sizeof(long double)];
  ReadRaw(InStream, buf, 10, Error);
  std::memset(buf + 10, 0, sizeof buf - 10);
  long double v;
  std::memcpy(&v, buf, sizeof v);
  return v;
}

double ReadDoubleFromStream(TStream& InStream, bool& Error) {
  uint8_t buf[8];
  ReadRaw(InStream, buf, 8, Error);
  uint64_t u = 0;
  for (int i = 7; i >= 0; --i) u = (u << 8) | buf[i];
  double v;
  std::memcpy(&v, &u, sizeof v);
  return v;
}

int32_t ReadLongintFromStream(TStream& InStream, bool& Error) {
  uint8_t buf[4];
  ReadRaw(InStream, buf, 4, Error);
  const uint32_t u = buf[0] | (uint32_t{buf[1]} << 8) | (uint32_t{buf[2]} << 16) | (uint32_t{buf[3]} << 24);
  return static_cast<int32_t>(u);
}

bool FindInStream(TStream& InStream, uint8_t B) {
  uint8_t c;
  while (ReadByte(InStream, c))
    if (c == B) return true;
  return false;
}

String StreamAsString(TStream& InStream) {
  String text;
  uint8_t buf[kReadBlock];
  for (;;) {
    const int64_t n = InStream.Read(buf, kReadBlock);
    for (int64_t i = 0; i < n; ++i) text += static_cast<char16_t>(buf[i]);
    if (n < kReadBlock) break;
  }
  return text;
}

String ReadStreamUntil(TStream& InStream, StringView Target, int32_t& ErrCode) {
  ErrCode = -1;
  detail::TFoldMatcher matcher(Target);
  const int64_t start = InStream.Position();
  String text;
  // Index of the last character of the first occurrence, once one is seen.
  int64_t found = -1;
  uint8_t buf[kReadBlock];
  for (;;) {
    const int64_t n = InStream.Read(buf, kReadBlock);
    for (int64_t i = 0; i < n; ++i) {
      text += static_cast<char16_t>(buf[i]);
      if (found < 0 && matcher.Feed(buf[i])) found = static_cast<int64_t>(text.size()) - 1;
    }
    if (n < kReadBlock || found >= 0) break;
  }
  if (found >= 0) {
    ErrCode = 0;
    text.resize(static_cast<size_t>(found + 1));
    InStream.SetPosition(start + found + 1);
  }
  return text;
}

int32_t CountLinesInStream(TStream& InStream) {
  uint32_t count = 0;
  uint8_t c;
  while (ReadByte(InStream, c))
    if (c == 10) ++count;
  return static_cast<int32_t>(count);
}

// ------------------------------------------------------------ number scanning

int32_t ScanStreamDecimal(TStream& InStream) {
  uint8_t c = ' ';
  bool ok = true;
  while (ok && (c == ' ' || c == 10 || c == 13)) ok = ReadByte(InStream, c);
  bool neg = false;
  if (ok && c == '-') {
    neg = true;
    ok = ReadByte(InStream, c);
  } else if (ok && c == '+') {
    ok = ReadByte(InStream, c);
  }
  uint32_t v = 0;
  while (ok && c >= '0' && c <= '9') {
    v = v * 10u + static_cast<uint32_t>(c - '0');
    ok = ReadByte(InStream, c);
  }
  return static_cast<int32_t>(neg ? 0u - v : v);
}

namespace {

enum class TFPClass { Sep, Sign, White, Digit, ExpMark, Other };

constexpr int kEnd = 9;
constexpr int kError = 0;

// The next state of the number scanner; kEnd and kError stop it.
int NextFPState(int State, TFPClass Cls, bool ExpAllowed) {
  const int expOrEnd = ExpAllowed ? 6 : kEnd;
  switch (State) {
    case 1:
      switch (Cls) {
        case TFPClass::Sep: return 4;
        case TFPClass::Sign: return 2;
        case TFPClass::White: return 1;
        case TFPClass::Digit: return 3;
        default: return kError;
      }
    case 2:
      if (Cls == TFPClass::Sep) return 4;
      return Cls == TFPClass::Digit ? 3 : kError;
    case 3:
      if (Cls == TFPClass::Sep) return 4;
      if (Cls == TFPClass::Digit) return 3;
      return Cls == TFPClass::ExpMark ? expOrEnd : kEnd;
    case 4:
    case 5:
      if (Cls == TFPClass::Sep) return kError;
      if (Cls == TFPClass::Digit) return 5;
      return Cls == TFPClass::ExpMark ? expOrEnd : kEnd;
    case 6:
      if (Cls == TFPClass::Sign) return 7;
      return Cls == TFPClass::Digit ? 8 : kError;
    case 7:
      return Cls == TFPClass::Digit ? 8 : kError;
    default:  // 8
      return Cls == TFPClass::Digit ? 8 : kEnd;
  }
}

// Decimal text to 80 bits, independent of the process's LC_NUMERIC.
long double TextToExtended(const std::string& Text) {
  static locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return strtold_l(Text.c_str(), nullptr, cLocale);
}

}  // namespace

double ScanStreamFPNum(TStream& InStream, bool ExpAllowed, int32_t DecSepMode) {
  constexpr int32_t kExpLimit = 4200;
  const bool dotSep = DecSepMode == 1 || DecSepMode == 3;
  const bool commaSep = DecSepMode == 2 || DecSepMode == 3;
  std::string num;
  // Value of the exponent digits read so far; it stops growing past the
  // limit, which keeps the comparison below true once the limit is exceeded.
  int32_t expValue = 0;
  int state = 1;
  while (state != kEnd && state != kError) {
    uint8_t c;
    if (!ReadByte(InStream, c)) c = 'Z';  // the end of the stream counts as other
    if (c >= 'a' && c <= 'z') c = static_cast<uint8_t>(c - 32);
    TFPClass cls;
    if ((c == '.' && dotSep) || (c == ',' && commaSep)) cls = TFPClass::Sep;
    else if (c == '+' || c == '-') cls = TFPClass::Sign;
    else if (c == 9 || c == 10 || c == 13 || c == 32) cls = TFPClass::White;
    else if (c >= '0' && c <= '9') cls = TFPClass::Digit;
    else if (c == 'E') cls = TFPClass::ExpMark;
    else cls = TFPClass::Other;
    const int next = NextFPState(state, cls, ExpAllowed);
    if (next == 8) {
      const int32_t d = c - '0';
      if (state != 8) expValue = d;
      else if (expValue <= kExpLimit) expValue = expValue * 10 + d;
    }
    state = next;
    if (state != kEnd && state != kError) {
      if (c == ',') c = '.';
      if (c > 32 && expValue <= kExpLimit) num += static_cast<char>(c);
    }
  }
  long double value = 0;
  if (state == kEnd) {
    if (!num.empty() && num.back() == '.') num += '0';
    value = TextToExtended(num);
  }
  if (value > uc_MaxDouble) value = uc_MaxDouble;
  else if (value < -uc_MaxDouble) value = -uc_MaxDouble;
  return static_cast<double>(value);
}

}  // namespace kyn
