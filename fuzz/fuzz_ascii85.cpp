// ASCII85: the decoder against a character-by-character model of the coded
// form (status, output and where the source is left), and the encode-decode
// round trip. The first byte chooses the check.
#include <cstdint>
#include <string>

#include "fuzz_helpers.h"
#include "kyn/dstruct/checksums.h"

namespace {

struct Decoded {
  std::string out;
  int32_t status = 0;
  size_t consumed = 0;
};

// One character at a time, exactly as the coded form is defined.
Decoded ModelDecode(const std::string& in) {
  Decoded d;
  size_t p = 0;
  auto next = [&]() -> int {
    while (p < in.size()) {
      const unsigned char c = static_cast<unsigned char>(in[p++]);
      if (c != '\r' && c != '\n') return c;
    }
    return -1;
  };
  for (;;) {
    int c = next();
    if (c < 0) break;
    if (c == 'z') {
      d.out.append(4, '\0');
      continue;
    }
    std::string g(1, static_cast<char>(c));
    while (g.size() < 5 && (c = next()) >= 0) g += static_cast<char>(c);
    bool last = g.size() < 5;
    const size_t tilde = g.rfind('~');
    if (tilde != std::string::npos) {
      g.resize(tilde);
      last = true;
    }
    uint32_t v = 0;
    for (char ch : g) {
      const unsigned char u = static_cast<unsigned char>(ch);
      if (u < '!' || u > 'u') d.status = u == 'z' ? -2 : -1;
      v = v * 85u + (static_cast<uint32_t>(u) - 33u);
    }
    for (int i = static_cast<int>(g.size()) - 2; i >= 0; --i) d.out += static_cast<char>(v >> (8 * i));
    if (last) break;
  }
  d.consumed = p;
  return d;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kynfuzz::Input in(data, size);
  const uint8_t mode = in.take<uint8_t>();
  const std::string body = in.rest();
  if (mode & 1) {
    kyn::TStringStream src{std::string_view(body)}, coded, back;
    kyn::EncodeASCII85(src, coded);
    const std::string text = coded.DataString();
    if (text.size() < 2 || text.compare(text.size() - 2, 2, "~>") != 0) __builtin_trap();
    if (text.size() > (body.size() + 3) / 4 * 5 + 2) __builtin_trap();
    for (size_t i = 0; i + 2 < text.size(); ++i)
      if ((text[i] < '!' || text[i] > 'u') && text[i] != 'z') __builtin_trap();
    coded.SetPosition(0);
    if (kyn::DecodeASCII85(coded, back) != 0) __builtin_trap();
    if (back.DataString() != body) __builtin_trap();
    // The group that holds "~" ends decoding; the ">" after it is read only
    // when it falls into that group.
    const int64_t pos = coded.Position();
    if (pos != static_cast<int64_t>(text.size()) && pos != static_cast<int64_t>(text.size()) - 1) __builtin_trap();
  } else {
    kyn::TStringStream src{std::string_view(body)}, out;
    const int32_t status = kyn::DecodeASCII85(src, out);
    const Decoded want = ModelDecode(body);
    if (status != want.status) __builtin_trap();
    if (out.DataString() != want.out) __builtin_trap();
    if (src.Position() != static_cast<int64_t>(want.consumed)) __builtin_trap();
  }
  return 0;
}
