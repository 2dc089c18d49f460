#include "kyn/stringl/uucode.h"

#include <algorithm>

namespace kyn {

namespace {

constexpr size_t kLineBytes = 45;

char16_t EncodeSix(unsigned v) { return v == 0 ? u'`' : static_cast<char16_t>(32 + v); }

// The 6-bit value of a uuencoded character; -1 outside 32..96.
int DecodeSix(char16_t c) { return c >= 32 && c <= 96 ? (c - 32) & 63 : -1; }

}  // namespace

String UUEncodeStr(StringView s) {
  if (std::any_of(s.begin(), s.end(), [](char16_t c) { return c > 255; })) return String();
  String out;
  out.reserve(s.size() * 4 / 3 + s.size() / kLineBytes * 2 + 8);
  for (size_t line = 0; line < s.size(); line += kLineBytes) {
    if (line > 0) out += u'\n';
    const size_t n = std::min(kLineBytes, s.size() - line);
    out += EncodeSix(static_cast<unsigned>(n));
    for (size_t i = 0; i < n; i += 3) {
      unsigned b[3] = {0, 0, 0};
      for (size_t k = 0; k < 3 && i + k < n; ++k) b[k] = s[line + i + k];
      out += EncodeSix(b[0] >> 2);
      out += EncodeSix(((b[0] & 3) << 4) | (b[1] >> 4));
      out += EncodeSix(((b[1] & 15) << 2) | (b[2] >> 6));
      out += EncodeSix(b[2] & 63);
    }
  }
  return out;
}

String UUDecodeStr(StringView s) {
  String out;
  size_t pos = 0;
  while (pos < s.size()) {
    size_t end = s.find_first_of(u"\r\n", pos);
    if (end == StringView::npos) end = s.size();
    const StringView line = s.substr(pos, end - pos);
    pos = end + 1;
    if (line.empty()) continue;
    if (line.starts_with(u"begin ")) continue;
    if (line == u"end") break;
    const int n = DecodeSix(line[0]);
    if (n < 0) return String();
    if (n == 0) break;
    // The data characters; missing ones count as 0.
    auto six = [&line](size_t i) { return i < line.size() ? DecodeSix(line[i]) : 0; };
    int produced = 0;
    for (size_t g = 1; produced < n; g += 4) {
      int v[4];
      for (size_t k = 0; k < 4; ++k)
        if ((v[k] = six(g + k)) < 0) return String();
      const unsigned bytes[3] = {static_cast<unsigned>((v[0] << 2) | (v[1] >> 4)) & 0xFF,
                                 static_cast<unsigned>((v[1] << 4) | (v[2] >> 2)) & 0xFF,
                                 static_cast<unsigned>((v[2] << 6) | v[3]) & 0xFF};
      for (int k = 0; k < 3 && produced < n; ++k, ++produced) out += static_cast<char16_t>(bytes[k]);
    }
  }
  return out;
}

}  // namespace kyn
