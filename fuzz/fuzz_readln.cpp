// ReadLnStream in every line-end mode, and ReadStreamUntil against a plain
// search of the whole text. Input: a mode byte (as signed), a target length
// byte and the target, then the stream.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_helpers.h"
#include "latin1.h"
#include "kyn/streams.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kynfuzz::Input in(data, size);
  const int32_t mode = in.take<int8_t>();
  const std::string target = in.bytes(in.take<uint8_t>() % 12);
  const std::string bytes = in.rest();

  // Lines: each call consumes at least one byte or ends the stream; lines
  // hold no control characters but TAB.
  kyn::TStringStream s{std::string_view(bytes)};
  size_t kept = 0;
  for (size_t calls = 0;; ++calls) {
    bool eos = false;
    const int64_t before = s.Position();
    const kyn::String line = kyn::ReadLnStream(s, eos, mode);
    for (char16_t c : line)
      if ((c < 32 && c != 9) || c > 255) abort();
    kept += line.size();
    if (eos) break;
    if (s.Position() <= before || calls > bytes.size()) abort();
  }
  if (kept > bytes.size() || s.Position() != static_cast<int64_t>(bytes.size())) abort();

  // ReadStreamUntil: the first occurrence, ASCII case ignored.
  auto fold = [](std::string t) {
    for (char& c : t)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return t;
  };
  const kyn::String wideTarget = kynfuzz::Latin1(target);
  kyn::TStringStream u{std::string_view(bytes)};
  int32_t err = 7;
  const kyn::String got = kyn::ReadStreamUntil(u, wideTarget, err);
  const size_t p = target.empty() ? std::string::npos : fold(bytes).find(fold(target));
  if (p == std::string::npos) {
    if (err != -1 || got.size() != bytes.size() || u.Position() != static_cast<int64_t>(bytes.size())) abort();
  } else {
    const size_t end = p + target.size();
    if (err != 0 || got.size() != end || u.Position() != static_cast<int64_t>(end)) abort();
  }
  for (size_t i = 0; i < got.size(); ++i)
    if (got[i] != static_cast<unsigned char>(bytes[i])) abort();
  return 0;
}
