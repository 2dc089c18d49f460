// Byte streams: TStream and its memory, file and string kinds.
//
// Read/Write move up to Count bytes and return how many moved; ReadBuffer and
// WriteBuffer move exactly Count bytes or raise EReadError/EWriteError.
// TFileStream is buffered (several readers of the library take one byte per
// call); open failures raise EFOpenError/EFCreateError, I/O failures
// EReadError/EWriteError. Files are opened by name through ResolvePath.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "kyn/platform/classes.h"
#include "kyn/platform/exceptions.h"
#include "kyn/platform/string.h"

namespace kyn {

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
 public:
  String ClassName() const override { return u"TStream"; }
  virtual int64_t Read(void* Buffer, int64_t Count) = 0;
  virtual int64_t Write(const void* Buffer, int64_t Count) = 0;
  // Returns the new position. Seeking before the start raises EStreamError;
  // seeking past the end is allowed (a later write fills the gap with zeros).
  virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;
  virtual int64_t Size();
  virtual void SetSize(int64_t NewSize) = 0;

  int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
  void SetPosition(int64_t Pos) { Seek(Pos, TSeekOrigin::soBeginning); }
  void ReadBuffer(void* Buffer, int64_t Count);
  void WriteBuffer(const void* Buffer, int64_t Count);
  // Copies Count bytes from Source (all of it from its start when Count is 0).
  int64_t CopyFrom(TStream& Source, int64_t Count);
};

class TMemoryStream : public TStream {
 public:
  String ClassName() const override { return u"TMemoryStream"; }
  int64_t Read(void* Buffer, int64_t Count) override;
  int64_t Write(const void* Buffer, int64_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  int64_t Size() override { return static_cast<int64_t>(FData.size()); }
  void SetSize(int64_t NewSize) override;

  void Clear() { FData.clear(); FPos = 0; }
  uint8_t* Memory() { return FData.data(); }
  const std::vector<uint8_t>& Bytes() const { return FData; }
  void LoadFromFile(const String& FileName);
  void SaveToFile(const String& FileName);
  void LoadFromStream(TStream& Source);
  void SaveToStream(TStream& Dest);

 protected:
  std::vector<uint8_t> FData;
  int64_t FPos = 0;
};

// A memory stream holding text one byte per character.
class TStringStream : public TMemoryStream {
 public:
  TStringStream() = default;
  explicit TStringStream(std::string_view Bytes);
  // The text narrowed to Windows-1252 ("?" for characters outside it).
  explicit TStringStream(const String& Text);
  String ClassName() const override { return u"TStringStream"; }
  std::string DataString() const { return std::string(FData.begin(), FData.end()); }
  // The bytes widened from Windows-1252.
  String DataText() const;
  void WriteString(const String& Text);
};

enum TFileMode : uint32_t {
  fmOpenRead = 0x0000,
  fmOpenWrite = 0x0001,
  fmOpenReadWrite = 0x0002,
  fmCreate = 0xFF00,  // create or truncate, then read and write
};

class TFileStream : public TStream {
 public:
  TFileStream(const String& FileName, uint32_t Mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;
  String ClassName() const override { return u"TFileStream"; }
  int64_t Read(void* Buffer, int64_t Count) override;
  int64_t Write(const void* Buffer, int64_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  int64_t Size() override;
  void SetSize(int64_t NewSize) override;
  // Writes pending bytes to the file. The destructor flushes too but cannot
  // report a failure: call Flush when the outcome matters.
  void Flush();
  const String& FileName() const { return FFileName; }

 private:
  void DropReadBuffer();
  String FFileName;
  int FHandle = -1;
  bool FWritable = false;
  int64_t FPos = 0;  // logical position
  // Read buffer: bytes of the file from FBufStart, FBufLen of them valid.
  std::vector<uint8_t> FBuf;
  int64_t FBufStart = 0;
  int64_t FBufLen = 0;
  // Write buffer: pending bytes that belong at FWriteStart.
  std::vector<uint8_t> FWBuf;
  int64_t FWriteStart = 0;
};

}  // namespace kyn
