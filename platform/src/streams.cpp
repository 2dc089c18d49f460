#include "kyn/platform/streams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "kyn/platform/path.h"

namespace kyn {

namespace {
constexpr int64_t kFileBufSize = 64 * 1024;

std::string ErrnoText() { return std::strerror(errno); }
}  // namespace

// ---------------------------------------------------------------- TStream

int64_t TStream::Size() {
  const int64_t pos = Seek(0, TSeekOrigin::soCurrent);
  const int64_t size = Seek(0, TSeekOrigin::soEnd);
  Seek(pos, TSeekOrigin::soBeginning);
  return size;
}

void TStream::ReadBuffer(void* Buffer, int64_t Count) {
  if (Count < 0 || Read(Buffer, Count) != Count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, int64_t Count) {
  if (Count < 0 || Write(Buffer, Count) != Count) throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& Source, int64_t Count) {
  if (Count == 0) {
    Source.SetPosition(0);
    Count = Source.Size();
  }
  std::vector<uint8_t> buf(static_cast<size_t>(std::min<int64_t>(Count, kFileBufSize)));
  int64_t left = Count;
  while (left > 0) {
    const int64_t n = std::min<int64_t>(left, static_cast<int64_t>(buf.size()));
    Source.ReadBuffer(buf.data(), n);
    WriteBuffer(buf.data(), n);
    left -= n;
  }
  return Count;
}

// ---------------------------------------------------------- TMemoryStream

int64_t TMemoryStream::Read(void* Buffer, int64_t Count) {
  const int64_t avail = static_cast<int64_t>(FData.size()) - FPos;
  const int64_t n = std::max<int64_t>(0, std::min(Count, avail));
  if (n > 0) std::memcpy(Buffer, FData.data() + FPos, static_cast<size_t>(n));
  FPos += n;
  return n;
}

int64_t TMemoryStream::Write(const void* Buffer, int64_t Count) {
  if (Count <= 0) return 0;
  const size_t end = static_cast<size_t>(FPos + Count);
  if (end > FData.size()) FData.resize(end);
  std::memcpy(FData.data() + FPos, Buffer, static_cast<size_t>(Count));
  FPos += Count;
  return Count;
}

int64_t TMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  int64_t base = 0;
  if (Origin == TSeekOrigin::soCurrent) base = FPos;
  else if (Origin == TSeekOrigin::soEnd) base = static_cast<int64_t>(FData.size());
  const int64_t p = base + Offset;
  if (p < 0) throw EStreamError("Seek before the start of the stream");
  FPos = p;
  return FPos;
}

void TMemoryStream::SetSize(int64_t NewSize) {
  if (NewSize < 0) throw EStreamError("Negative stream size");
  FData.resize(static_cast<size_t>(NewSize));
  if (FPos > NewSize) FPos = NewSize;
}

void TMemoryStream::LoadFromFile(const String& FileName) {
  TFileStream f(FileName, fmOpenRead);
  LoadFromStream(f);
}

void TMemoryStream::SaveToFile(const String& FileName) {
  TFileStream f(FileName, fmCreate);
  SaveToStream(f);
}

void TMemoryStream::LoadFromStream(TStream& Source) {
  Source.SetPosition(0);
  const int64_t n = Source.Size();
  FData.resize(static_cast<size_t>(n));
  if (n > 0) Source.ReadBuffer(FData.data(), n);
  FPos = 0;
}

void TMemoryStream::SaveToStream(TStream& Dest) {
  if (!FData.empty()) Dest.WriteBuffer(FData.data(), static_cast<int64_t>(FData.size()));
}

// ---------------------------------------------------------- TStringStream

TStringStream::TStringStream(std::string_view Bytes) : TMemoryStream() {
  FData.assign(Bytes.begin(), Bytes.end());
}

TStringStream::TStringStream(const String& Text) : TStringStream(StringToAnsi(Text)) {}

String TStringStream::DataText() const {
  return AnsiToString(std::string_view(reinterpret_cast<const char*>(FData.data()), FData.size()));
}

void TStringStream::WriteString(const String& Text) {
  const AnsiString a = StringToAnsi(Text);
  Write(a.data(), static_cast<int64_t>(a.size()));
}

// ------------------------------------------------------------ TFileStream

TFileStream::TFileStream(const String& FileName, uint32_t Mode) : FFileName(FileName) {
  const std::string path = ResolvePath(FileName);
  int flags = O_CLOEXEC;
  if (Mode == fmCreate) flags |= O_RDWR | O_CREAT | O_TRUNC;
  else if ((Mode & 3) == fmOpenWrite) flags |= O_WRONLY;
  else if ((Mode & 3) == fmOpenReadWrite) flags |= O_RDWR;
  else flags |= O_RDONLY;
  FWritable = Mode == fmCreate || (Mode & 3) == fmOpenWrite || (Mode & 3) == fmOpenReadWrite;
  FHandle = ::open(path.c_str(), flags, 0666);
  if (FHandle < 0) {
    if (Mode == fmCreate)
      throw EFCreateError("Cannot create file \"" + path + "\": " + ErrnoText());
    throw EFOpenError("Cannot open file \"" + path + "\": " + ErrnoText());
  }
  struct stat st;
  if (::fstat(FHandle, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(FHandle);
    FHandle = -1;
    throw EFOpenError("Cannot open file \"" + path + "\": Is a directory");
  }
}

TFileStream::~TFileStream() {
  try {
    Flush();
  } catch (...) {
    // A destructor cannot report; callers who care call Flush first.
  }
  if (FHandle >= 0) ::close(FHandle);
}

void TFileStream::Flush() {
  size_t done = 0;
  while (done < FWBuf.size()) {
    const ssize_t n = ::pwrite(FHandle, FWBuf.data() + done, FWBuf.size() - done,
                               static_cast<off_t>(FWriteStart + static_cast<int64_t>(done)));
    if (n < 0) {
      if (errno == EINTR) continue;
      FWBuf.clear();
      throw EWriteError("Write error on \"" + StringToUtf8(FFileName) + "\": " + ErrnoText());
    }
    done += static_cast<size_t>(n);
  }
  FWBuf.clear();
}

void TFileStream::DropReadBuffer() { FBufLen = 0; }

int64_t TFileStream::Read(void* Buffer, int64_t Count) {
  if (Count <= 0) return 0;
  Flush();
  auto* out = static_cast<uint8_t*>(Buffer);
  int64_t got = 0;
  while (got < Count) {
    if (FPos >= FBufStart && FPos < FBufStart + FBufLen) {
      const int64_t n = std::min(Count - got, FBufStart + FBufLen - FPos);
      std::memcpy(out + got, FBuf.data() + (FPos - FBufStart), static_cast<size_t>(n));
      got += n;
      FPos += n;
      continue;
    }
    const int64_t want = Count - got;
    if (want >= kFileBufSize) {
      const ssize_t n = ::pread(FHandle, out + got, static_cast<size_t>(want), static_cast<off_t>(FPos));
      if (n < 0) {
        if (errno == EINTR) continue;
        throw EReadError("Read error on \"" + StringToUtf8(FFileName) + "\": " + ErrnoText());
      }
      if (n == 0) break;
      got += n;
      FPos += n;
      continue;
    }
    FBuf.resize(kFileBufSize);
    const ssize_t n = ::pread(FHandle, FBuf.data(), FBuf.size(), static_cast<off_t>(FPos));
    if (n < 0) {
      if (errno == EINTR) continue;
      throw EReadError("Read error on \"" + StringToUtf8(FFileName) + "\": " + ErrnoText());
    }
    FBufStart = FPos;
    FBufLen = n;
    if (n == 0) break;
  }
  return got;
}

int64_t TFileStream::Write(const void* Buffer, int64_t Count) {
  if (Count <= 0) return 0;
  if (!FWritable) throw EWriteError("File \"" + StringToUtf8(FFileName) + "\" is open for reading only");
  DropReadBuffer();
  const auto* in = static_cast<const uint8_t*>(Buffer);
  if (!FWBuf.empty() && FWriteStart + static_cast<int64_t>(FWBuf.size()) != FPos) Flush();
  if (static_cast<int64_t>(FWBuf.size()) + Count > kFileBufSize) Flush();
  if (FWBuf.empty()) FWriteStart = FPos;
  FWBuf.insert(FWBuf.end(), in, in + Count);
  FPos += Count;
  if (static_cast<int64_t>(FWBuf.size()) >= kFileBufSize) Flush();
  return Count;
}

int64_t TFileStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  int64_t base = 0;
  if (Origin == TSeekOrigin::soCurrent) base = FPos;
  else if (Origin == TSeekOrigin::soEnd) base = Size();
  const int64_t p = base + Offset;
  if (p < 0) throw EStreamError("Seek before the start of the stream");
  FPos = p;
  return FPos;
}

int64_t TFileStream::Size() {
  struct stat st;
  if (::fstat(FHandle, &st) != 0)
    throw EReadError("Cannot read the size of \"" + StringToUtf8(FFileName) + "\": " + ErrnoText());
  return std::max<int64_t>(st.st_size, FWBuf.empty() ? 0 : FWriteStart + static_cast<int64_t>(FWBuf.size()));
}

void TFileStream::SetSize(int64_t NewSize) {
  Flush();
  DropReadBuffer();
  if (NewSize < 0 || ::ftruncate(FHandle, static_cast<off_t>(NewSize)) != 0)
    throw EWriteError("Cannot set the size of \"" + StringToUtf8(FFileName) + "\"");
  if (FPos > NewSize) FPos = NewSize;
}

}  // namespace kyn
