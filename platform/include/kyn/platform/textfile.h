// Text files: the open text file that readers and writers of the library work
// with.
//
// Open with Reset (reading), Rewrite (create or truncate) or Append (writing at
// the end; the file is created when missing). Text is 8-bit Windows-1252 by
// default; SetEncoding(TTextEncoding::Utf8) selects UTF-8 for the file.
// Reading accepts CR LF, LF and a lone CR as line end; WriteLn ends lines with
// CR LF. ReadChar delivers line-end characters as they stand and returns
// u'\x1A' at the end of the file. I/O failures, and using a file in the wrong
// mode, raise EInOutError.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "kyn/platform/streams.h"
#include "kyn/platform/string.h"

namespace kyn {

enum class TTextEncoding { Windows1252, Utf8 };

class TTextFile {
 public:
  TTextFile() = default;
  ~TTextFile();
  TTextFile(const TTextFile&) = delete;
  TTextFile& operator=(const TTextFile&) = delete;

  void SetEncoding(TTextEncoding e) { FEncoding = e; }
  TTextEncoding Encoding() const { return FEncoding; }

  void Reset(const String& FileName);
  void Rewrite(const String& FileName);
  void Append(const String& FileName);
  // Back to the start of the file, open for reading.
  void Reset();
  void Close();

  bool IsOpen() const { return FMode != Mode::Closed; }
  bool IsReading() const { return FMode == Mode::Read; }
  const String& FileName() const { return FFileName; }

  // True when nothing is left to read.
  bool Eof();
  // True at a line end or at the end of the file.
  bool Eoln();
  // Reads the rest of the current line and steps over its line end.
  String ReadLn();
  // Reads one character (UTF-16 code unit).
  char16_t ReadChar();
  // Skips blanks, tabs and line ends, then reads an optionally signed decimal
  // integer token ending at white space or the end of the file. A malformed
  // token raises EInOutError("Invalid numeric format"); 0 at the end of file.
  int64_t ReadInteger();

  void Write(StringView Text);
  void WriteLn(StringView Text = {});
  void Flush();

 private:
  enum class Mode { Closed, Read, Write };
  void RequireMode(Mode m) const;
  int PeekByte();  // -1 at end
  int GetByte();
  char16_t DecodeNext();
  bool FillBuffer();

  std::unique_ptr<TFileStream> FStream;
  String FFileName;
  Mode FMode = Mode::Closed;
  TTextEncoding FEncoding = TTextEncoding::Windows1252;
  std::vector<uint8_t> FBuf;
  size_t FBufPos = 0;
  bool FAtEnd = false;  // the stream has no more bytes; no further reads
  char16_t FPendingLow = 0;  // second half of a surrogate pair read from UTF-8
  std::string FOut;
};

}  // namespace kyn
