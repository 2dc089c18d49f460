#include "kyn/platform/textfile.h"

#include <cctype>

namespace kyn {

namespace {
constexpr size_t kTextBufSize = 64 * 1024;
}

TTextFile::~TTextFile() {
  try {
    Close();
  } catch (...) {
  }
}

void TTextFile::RequireMode(Mode m) const {
  if (FMode == Mode::Closed) throw EInOutError("File not open");
  if (FMode != m) throw EInOutError(m == Mode::Read ? "File not open for input" : "File not open for output");
}

void TTextFile::Reset(const String& FileName) {
  Close();
  FStream = std::make_unique<TFileStream>(FileName, fmOpenRead);
  FFileName = FileName;
  FMode = Mode::Read;
}

void TTextFile::Rewrite(const String& FileName) {
  Close();
  FStream = std::make_unique<TFileStream>(FileName, fmCreate);
  FFileName = FileName;
  FMode = Mode::Write;
}

void TTextFile::Append(const String& FileName) {
  Close();
  try {
    FStream = std::make_unique<TFileStream>(FileName, fmOpenReadWrite);
  } catch (const EFOpenError&) {
    FStream = std::make_unique<TFileStream>(FileName, fmCreate);
  }
  FStream->Seek(0, TSeekOrigin::soEnd);
  FFileName = FileName;
  FMode = Mode::Write;
}

void TTextFile::Reset() {
  if (FMode == Mode::Closed) throw EInOutError("File not open");
  const String name = FFileName;
  Reset(name);
}

void TTextFile::Close() {
  if (FMode == Mode::Write) Flush();
  FStream.reset();
  FMode = Mode::Closed;
  FBuf.clear();
  FBufPos = 0;
  FAtEnd = false;
  FPendingLow = 0;
}

void TTextFile::Flush() {
  RequireMode(Mode::Write);
  if (!FOut.empty()) {
    FStream->WriteBuffer(FOut.data(), static_cast<int64_t>(FOut.size()));
    FOut.clear();
  }
  FStream->Flush();
}

bool TTextFile::FillBuffer() {
  FBuf.resize(kTextBufSize);
  const int64_t n = FStream->Read(FBuf.data(), static_cast<int64_t>(FBuf.size()));
  FBuf.resize(static_cast<size_t>(n));
  FBufPos = 0;
  FAtEnd = n <= 0;
  return n > 0;
}

int TTextFile::PeekByte() {
  // At the end, readers may ask again and again; answer without a read.
  if (FBufPos >= FBuf.size() && (FAtEnd || !FillBuffer())) return -1;
  return FBuf[FBufPos];
}

int TTextFile::GetByte() {
  const int b = PeekByte();
  if (b >= 0) ++FBufPos;
  return b;
}

char16_t TTextFile::DecodeNext() {
  if (FPendingLow) {
    const char16_t c = FPendingLow;
    FPendingLow = 0;
    return c;
  }
  const int b = GetByte();
  if (b < 0) return u'\x1A';
  if (FEncoding == TTextEncoding::Windows1252) return AnsiCharToWide(static_cast<unsigned char>(b));
  if (b < 0x80) return static_cast<char16_t>(b);
  int len = 0;
  char32_t cp = 0, min = 0;
  if ((b & 0xE0) == 0xC0) { len = 2; cp = b & 0x1F; min = 0x80; }
  else if ((b & 0xF0) == 0xE0) { len = 3; cp = b & 0x0F; min = 0x800; }
  else if ((b & 0xF8) == 0xF0) { len = 4; cp = b & 0x07; min = 0x10000; }
  else return u'\uFFFD';
  for (int k = 1; k < len; ++k) {
    const int c = PeekByte();
    if (c < 0 || (c & 0xC0) != 0x80) return u'\uFFFD';
    ++FBufPos;
    cp = (cp << 6) | (c & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return u'\uFFFD';
  if (cp < 0x10000) return static_cast<char16_t>(cp);
  cp -= 0x10000;
  FPendingLow = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
  return static_cast<char16_t>(0xD800 + (cp >> 10));
}

bool TTextFile::Eof() {
  RequireMode(Mode::Read);
  return FPendingLow == 0 && PeekByte() < 0;
}

bool TTextFile::Eoln() {
  RequireMode(Mode::Read);
  if (FPendingLow) return false;
  const int b = PeekByte();
  return b < 0 || b == '\r' || b == '\n';
}

String TTextFile::ReadLn() {
  RequireMode(Mode::Read);
  String line;
  for (;;) {
    if (!FPendingLow) {
      const int b = PeekByte();
      if (b < 0) break;
      if (b == '\n') { ++FBufPos; break; }
      if (b == '\r') {
        ++FBufPos;
        if (PeekByte() == '\n') ++FBufPos;
        break;
      }
      if (FEncoding == TTextEncoding::Windows1252 || b < 0x80) {
        ++FBufPos;
        line += AnsiCharToWide(static_cast<unsigned char>(b));
        continue;
      }
    }
    line += DecodeNext();
  }
  return line;
}

char16_t TTextFile::ReadChar() {
  RequireMode(Mode::Read);
  return DecodeNext();
}

int64_t TTextFile::ReadInteger() {
  RequireMode(Mode::Read);
  int b;
  while ((b = PeekByte()) == ' ' || b == '\t' || b == '\r' || b == '\n') ++FBufPos;
  if (b < 0) return 0;
  std::string tok;
  while ((b = PeekByte()) >= 0 && b != ' ' && b != '\t' && b != '\r' && b != '\n') {
    tok += static_cast<char>(b);
    ++FBufPos;
    if (tok.size() > 64) break;
  }
  size_t i = 0;
  bool neg = false;
  if (i < tok.size() && (tok[i] == '+' || tok[i] == '-')) neg = tok[i++] == '-';
  if (i >= tok.size()) throw EInOutError("Invalid numeric format");
  uint64_t v = 0;
  for (; i < tok.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(tok[i]))) throw EInOutError("Invalid numeric format");
    v = v * 10 + static_cast<uint64_t>(tok[i] - '0');
    if (v > (1ULL << 63)) throw EInOutError("Invalid numeric format");
  }
  if (!neg && v == (1ULL << 63)) throw EInOutError("Invalid numeric format");
  return neg ? static_cast<int64_t>(0 - v) : static_cast<int64_t>(v);
}

void TTextFile::Write(StringView Text) {
  RequireMode(Mode::Write);
  if (FEncoding == TTextEncoding::Utf8) FOut += StringToUtf8(Text);
  else FOut += StringToAnsi(Text);
  if (FOut.size() >= kTextBufSize) {
    FStream->WriteBuffer(FOut.data(), static_cast<int64_t>(FOut.size()));
    FOut.clear();
  }
}

void TTextFile::WriteLn(StringView Text) {
  Write(Text);
  Write(u"\r\n");
}

}  // namespace kyn
