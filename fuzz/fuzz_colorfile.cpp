// Random bytes as a colour array file: the reader must stay sound with and
// without size adjustment, and what it accepted must survive a write and a
// second read unchanged.
//
// Input: byte 0 picks the array's starting size (1..64); the rest is the file.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz_helpers.h"
#include "kyn/kyncolors/colorarray.h"
#include "kyn/platform/textfile.h"

namespace {

std::string TempPath(const char* tag) {
  return "/tmp/fuzz_colorfile_" + std::to_string(getpid()) + tag;
}

// Removes the scratch files when the process ends.
struct Scratch {
  std::string file = TempPath(".col"), copy = TempPath("-copy.col");
  ~Scratch() {
    std::remove(file.c_str());
    std::remove(copy.c_str());
  }
};

void WriteBytes(const std::string& path, const std::string& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) abort();
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) abort();
  std::fclose(f);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kynfuzz::Input in(data, size);
  const int32_t start = 1 + in.take<uint8_t>() % 64;
  static const Scratch scratch;
  const std::string& path = scratch.file;
  const std::string& copy = scratch.copy;
  WriteBytes(path, in.rest());
  const kyn::String name = kyn::Utf8ToString(path);

  kyn::TColorArray ca(nullptr);
  ca.SetSize(start);
  int64_t changes = 0;
  ca.SetOnChange([&](kyn::TObject*) { ++changes; });

  kyn::TTextFile f;
  f.Reset(name);
  ca.ReadFromOpenTextFile(f, false);
  // Without adjustment the size stays; one notification per stored element
  // and one at the end.
  if (ca.Size() != start || changes > start + 1) __builtin_trap();

  changes = 0;
  f.Reset();
  ca.ReadFromOpenTextFile(f, true);
  f.Close();
  const int32_t n = ca.Size();
  if (n < 1 || (n != start && n > kyn::TColorArray::MaxFileColors)) __builtin_trap();
  if (changes > int64_t{n} + 2) __builtin_trap();
  for (int32_t ix : {-1, 0, 1, n, n + 1})
    if (ca.GetColorElem(ix) != ca.GetColorElem(ix < 1 ? 1 : (ix > n ? n : ix))) __builtin_trap();

  // A small array written out reads back equal.
  if (n <= 4096) {
    if (!ca.StoreOnFile(1, n, kyn::Utf8ToString(copy))) abort();
    kyn::TColorArray back(nullptr);
    if (!back.LoadFromFile(kyn::Utf8ToString(copy), true) || !back.IsEqual(ca)) __builtin_trap();
  }
  return 0;
}
