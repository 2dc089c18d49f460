// kyn crc32 / crc16 / sha1 / ascii85 / comb / perm, and the demo section
// "Checksums and encodings".
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cctype>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli.h"
#include "kyn/dstruct.h"

namespace {

using kyn::String;
using kyn::TStream;

// A stream of the process's standard input or output: it cannot seek, and
// its position is the count of bytes moved.
class TStdStream : public TStream {
 public:
  int64_t Seek(int64_t Offset, kyn::TSeekOrigin Origin) override {
    if (Offset == 0 && Origin == kyn::TSeekOrigin::soCurrent) return FPos;
    throw kyn::EStreamError("standard input and output cannot seek");
  }
  void SetSize(int64_t) override { throw kyn::EStreamError("standard input and output have no size"); }

 protected:
  int64_t FPos = 0;
};

// Standard input: reads fill the request unless the input ends (as a file
// would), so the coders see a short read only at the end.
class TStdinStream : public TStdStream {
 public:
  int64_t Read(void* Buffer, int64_t Count) override {
    auto* p = static_cast<char*>(Buffer);
    int64_t got = 0;
    while (got < Count) {
      const ssize_t n = ::read(0, p + got, static_cast<size_t>(Count - got));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) throw kyn::EReadError("cannot read standard input");
      if (n == 0) break;
      got += n;
    }
    FPos += got;
    return got;
  }
  int64_t Write(const void*, int64_t) override { throw kyn::EWriteError("standard input is read-only"); }
};

class TStdoutStream : public TStdStream {
 public:
  int64_t Read(void*, int64_t) override { return 0; }
  int64_t Write(const void* Buffer, int64_t Count) override {
    if (Count <= 0) return 0;
    std::cout.write(static_cast<const char*>(Buffer), Count);
    if (!std::cout) throw kyn::EWriteError("cannot write standard output");
    FPos += Count;
    return Count;
  }
};

// Opens FILE, or standard input for "-".
std::unique_ptr<TStream> OpenInput(const std::string& name) {
  if (name == "-") return std::make_unique<TStdinStream>();
  return std::make_unique<kyn::TFileStream>(kyn::cli::U16(name), kyn::fmOpenRead);
}

// Feeds every byte of the stream to Fold in blocks.
template <typename F>
void ForEachBlock(TStream& s, F&& Fold) {
  std::vector<uint8_t> buf(1 << 16);
  for (;;) {
    const int64_t n = s.Read(buf.data(), static_cast<int64_t>(buf.size()));
    if (n <= 0) break;
    Fold(buf.data(), static_cast<size_t>(n));
  }
}

std::string LowerHex(uint64_t v, int digits) {
  static const char* hex = "0123456789abcdef";
  std::string s(static_cast<size_t>(digits), '0');
  for (int i = digits - 1; i >= 0; --i, v >>= 4) s[static_cast<size_t>(i)] = hex[v & 15];
  return s;
}

// Prints "DIGEST  NAME" for each file (standard input without files), as
// sha1sum does; files that cannot be read are reported and make the exit
// status 1 after the others have been printed.
void DigestFiles(std::vector<std::string> files, const std::function<std::string(TStream&)>& digest) {
  if (files.empty()) files.push_back("-");
  int failed = 0;
  for (const std::string& f : files) {
    try {
      auto in = OpenInput(f);
      std::cout << digest(*in) << "  " << f << '\n';
    } catch (const kyn::Exception& e) {
      std::cout.flush();
      std::cerr << "kyn: " << f << ": " << e.what() << '\n';
      ++failed;
    }
  }
  if (failed) throw kyn::cli::Failure(std::to_string(failed) + " file(s) could not be read", 1);
}

std::string Crc32Of(TStream& s) {
  uint32_t crc = 0xFFFFFFFFu;
  ForEachBlock(s, [&crc](const uint8_t* p, size_t n) { crc = kyn::CRC32Update(crc, p, n); });
  return LowerHex(~crc, 8);
}

std::string Crc16Of(TStream& s, kyn::TCRC16Mode mode) {
  uint16_t crc = mode == kyn::crcCCITT ? 0xFFFF : 0x0000;
  ForEachBlock(s, [&crc](const uint8_t* p, size_t n) { crc = kyn::CRC16Update(crc, p, n); });
  return LowerHex(crc, 4);
}

std::string Sha1Of(TStream& s) {
  std::string hex = kyn::cli::U8(kyn::SHA1DigestToHex(kyn::SHA1FromStream(s)));
  for (char& c : hex) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return hex;
}

std::string Elements(const kyn::TCombination& c) {
  std::string s;
  for (int i = 1; i <= c[0]; ++i) {
    if (i > 1) s += ' ';
    s += std::to_string(c[static_cast<size_t>(i)]);
  }
  return s;
}

void Ascii85(const std::string& direction, const std::string& file) {
  std::unique_ptr<TStream> in;
  if (file.empty() || file == "-") {
    if (direction == "encode") {
      in = std::make_unique<TStdinStream>();
    } else {
      // The decoder hands back what it read past its end mark, so it needs
      // a source that can seek.
      auto mem = std::make_unique<kyn::TMemoryStream>();
      TStdinStream stdinStream;
      ForEachBlock(stdinStream, [&mem](const uint8_t* p, size_t n) { mem->WriteBuffer(p, static_cast<int64_t>(n)); });
      mem->SetPosition(0);
      in = std::move(mem);
    }
  } else {
    in = std::make_unique<kyn::TFileStream>(kyn::cli::U16(file), kyn::fmOpenRead);
  }
  TStdoutStream out;
  if (direction == "encode") {
    kyn::EncodeASCII85(*in, out);
    std::cout << '\n';
    return;
  }
  const int32_t status = kyn::DecodeASCII85(*in, out);
  std::cout.flush();
  if (status == -2) throw kyn::cli::Failure("invalid ASCII85 input: \"z\" inside a group (status -2)", 1);
  if (status != 0) throw kyn::cli::Failure("invalid ASCII85 input: character outside \"!\"..\"u\" (status -1)", 1);
}

const bool registered = kyn::cli::RegisterFamily("checksums", [](CLI::App& app) {
  {
    auto files = std::make_shared<std::vector<std::string>>();
    auto* sub = app.add_subcommand("crc32", "CRC-32 (as zip and PNG use it) of files or standard input");
    sub->add_option("files", *files, "Files to check (standard input without files or for -)");
    sub->callback([files] { DigestFiles(*files, Crc32Of); });
  }
  {
    auto files = std::make_shared<std::vector<std::string>>();
    auto mode = std::make_shared<std::string>("zmodem");
    auto* sub = app.add_subcommand("crc16", "CRC-16 of files or standard input");
    sub->add_option("--mode", *mode, "zmodem (start 0x0000) or ccitt (start 0xFFFF)")
        ->check(CLI::IsMember({"zmodem", "ccitt"}))
        ->capture_default_str();
    sub->add_option("files", *files, "Files to check (standard input without files or for -)");
    sub->callback([files, mode] {
      const kyn::TCRC16Mode m = *mode == "ccitt" ? kyn::crcCCITT : kyn::crcZModem;
      DigestFiles(*files, [m](TStream& s) { return Crc16Of(s, m); });
    });
  }
  {
    auto files = std::make_shared<std::vector<std::string>>();
    auto* sub = app.add_subcommand("sha1", "SHA-1 digest of files or standard input, printed as sha1sum does");
    sub->add_option("files", *files, "Files to hash (standard input without files or for -)");
    sub->callback([files] { DigestFiles(*files, Sha1Of); });
  }
  {
    auto direction = std::make_shared<std::string>();
    auto file = std::make_shared<std::string>();
    auto* sub = app.add_subcommand("ascii85", "ASCII85 coding from a file or standard input to standard output (encode ends its output with a line end)");
    sub->add_option("direction", *direction, "encode or decode")
        ->required()
        ->check(CLI::IsMember({"encode", "decode"}));
    sub->add_option("file", *file, "Input file (standard input without one)");
    sub->callback([direction, file] { Ascii85(*direction, *file); });
  }
  {
    auto k = std::make_shared<int>(0);
    auto n = std::make_shared<int>(0);
    auto* sub = app.add_subcommand("comb", "Every K-combination of 1..N in lexicographic order, one per line");
    sub->add_option("K", *k, "Elements per combination (1..N)")->required();
    sub->add_option("N", *n, "Elements to choose from (up to 255)")->required();
    sub->callback([k, n] {
      if (*k < 1 || *n > 255 || *k > *n) throw kyn::cli::UsageError("comb needs 1 <= K <= N <= 255");
      kyn::TCombination c{};
      c[0] = static_cast<uint8_t>(*k);
      for (int i = 1; i <= *k; ++i) c[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
      do std::cout << Elements(c) << '\n';
      while (kyn::NextCombination(c, *n) && std::cout);
    });
  }
  {
    auto m = std::make_shared<int>(0);
    auto* sub = app.add_subcommand("perm", "Every permutation of 1..M in the library's order, one per line");
    sub->add_option("M", *m, "Number of elements (1..255)")->required();
    sub->callback([m] {
      if (*m < 1 || *m > 255) throw kyn::cli::UsageError("perm needs 1 <= M <= 255");
      kyn::TCombination p{};
      p[0] = static_cast<uint8_t>(*m);
      for (int i = 1; i <= *m; ++i) p[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
      do std::cout << Elements(p) << '\n';
      while (kyn::NextPermutation(p) && std::cout);
    });
  }
});

const bool demo = kyn::cli::RegisterDemo(70, "Checksums and encodings", [](kyn::cli::DemoContext& ctx) {
  const kyn::TBytes digits = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
  ctx.out << "CRC-16/XMODEM of \"123456789\": " << LowerHex(kyn::CRC16ofBuffer(digits, 9, kyn::crcZModem), 4)
          << "\nCRC-16/CCITT  of \"123456789\": " << LowerHex(kyn::CRC16ofBuffer(digits, 9, kyn::crcCCITT), 4)
          << "\nCRC-32        of \"123456789\": " << LowerHex(kyn::CRC32ofBuffer(digits, 9), 8) << '\n';
  ctx.out << "SHA-1 of \"abc\": " << kyn::cli::U8(kyn::SHA1DigestToHex(kyn::SHA1FromString(u"abc"))) << '\n';

  kyn::TStringStream plain{std::string_view("Hello, world")}, coded, back;
  kyn::EncodeASCII85(plain, coded);
  coded.SetPosition(0);
  const int32_t status = kyn::DecodeASCII85(coded, back);
  ctx.out << "ASCII85 of \"Hello, world\": " << coded.DataString() << "  (decoded: \"" << back.DataString()
          << "\", status " << status << ")\n";

  kyn::TCombination c{};
  c[0] = 2, c[1] = 1, c[2] = 2;
  ctx.out << "2-combinations of 1..4:";
  do ctx.out << "  " << Elements(c);
  while (kyn::NextCombination(c, 4));
  kyn::TCombination p{};
  p[0] = 3, p[1] = 1, p[2] = 2, p[3] = 3;
  ctx.out << "\nPermutations of 1..3:";
  do ctx.out << "  " << Elements(p);
  while (kyn::NextPermutation(p));
  ctx.out << "\nNearest to 2.5 in (1, 2, 3, 4): index " << kyn::IndexOfNearestArrayValue(2.5, {1, 2, 3, 4})
          << '\n';

  kyn::TAssocArray assoc(nullptr);
  assoc.Add(u"Planet", kyn::Variant(u"Earth"));
  assoc.Add(u"Radius", kyn::Variant(6371.0));
  assoc.Add(u"Moons", kyn::Variant(int32_t(1)));
  ctx.out << "Associative array: RADIUS -> " << assoc.ResolveAsNumber(u"RADIUS") << ", planet -> "
          << kyn::cli::U8(assoc.ResolveAsString(u"planet")) << '\n';
  std::filesystem::create_directories(ctx.dir);
  const std::filesystem::path file = ctx.dir / "assocarray.xml";
  {
    kyn::TFileStream f(kyn::cli::U16(file.string()), kyn::fmCreate);
    assoc.WriteToXMLStream(f, true, u"demo");
  }
  kyn::TAssocArray again(nullptr);
  kyn::TFileStream f(kyn::cli::U16(file.string()), kyn::fmOpenRead);
  const bool ok = again.ReadFromXMLStream(f, u"DEMO");
  ctx.out << "Written to " << file.string() << " and read back: " << (ok ? "yes" : "no") << ", "
          << again.NumEntries() << " entries\n";
});

}  // namespace
