// Small helpers for fuzz targets: read typed values from the input.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "kyn/platform/string.h"

// Aborts with the violated condition and its line when cond holds.
#define KYN_FUZZ_FAIL_IF(cond)                                                      \
  do {                                                                              \
    if (cond) {                                                                     \
      std::fprintf(stderr, "%s:%d: invariant violated: %s\n", __FILE__, __LINE__, #cond); \
      std::abort();                                                                 \
    }                                                                               \
  } while (0)

namespace kynfuzz {

// Aborts when an invariant does not hold.
inline void Check(bool ok) {
  if (!ok) std::abort();
}

// Bytes as characters 0..255, or, when wide, byte pairs as UTF-16 code units.
inline kyn::String Text(const std::string& b, bool wide) {
  kyn::String s;
  if (wide) {
    for (size_t i = 0; i + 1 < b.size(); i += 2)
      s += static_cast<char16_t>(static_cast<unsigned char>(b[i]) | static_cast<unsigned char>(b[i + 1]) << 8);
  } else {
    for (unsigned char c : b) s += static_cast<char16_t>(c);
  }
  return s;
}

class Input {
 public:
  Input(const uint8_t* data, size_t size) : p_(data), n_(size) {}
  bool empty() const { return n_ == 0; }
  size_t left() const { return n_; }
  template <typename T>
  T take() {
    T v{};
    const size_t k = n_ < sizeof(T) ? n_ : sizeof(T);
    std::memcpy(&v, p_, k);
    p_ += k;
    n_ -= k;
    return v;
  }
  // Up to max bytes as a string of bytes.
  std::string bytes(size_t max) {
    const size_t k = n_ < max ? n_ : max;
    std::string s(reinterpret_cast<const char*>(p_), k);
    p_ += k;
    n_ -= k;
    return s;
  }
  std::string rest() { return bytes(n_); }
  // The rest as UTF-16 text, two bytes per code unit.
  kyn::String rest16() {
    kyn::String s(n_ / 2, u'\0');
    std::memcpy(s.data(), p_, s.size() * 2);
    p_ += n_;
    n_ = 0;
    return s;
  }

 private:
  const uint8_t* p_;
  size_t n_;
};

}  // namespace kynfuzz
