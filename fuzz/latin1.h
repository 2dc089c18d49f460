// Bytes as text, one character per byte (the streams' convention).
#pragma once

#include <string>

#include "kyn/platform/string.h"

namespace kynfuzz {

inline kyn::String Latin1(const std::string& bytes) {
  kyn::String s;
  s.reserve(bytes.size());
  for (unsigned char c : bytes) s += static_cast<char16_t>(c);
  return s;
}

}  // namespace kynfuzz
