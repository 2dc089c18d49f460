// Bitwise combination of two bytes, shared by the bit field and the byte
// matrix.
#pragma once

#include <cstdint>

namespace kyn {

// For an own byte a and the other operand's byte b: a and b, a or b, a xor b,
// a and not b, a or not b, a xor not b.
enum TLogicOp : uint8_t { loAND, loOR, loXOR, loANDNot, loORNot, loXORNot };

constexpr uint8_t ApplyLogicOp(uint8_t a, uint8_t b, TLogicOp Op) {
  switch (Op) {
    case loAND: return static_cast<uint8_t>(a & b);
    case loOR: return static_cast<uint8_t>(a | b);
    case loXOR: return static_cast<uint8_t>(a ^ b);
    case loANDNot: return static_cast<uint8_t>(a & ~b);
    case loORNot: return static_cast<uint8_t>(a | ~b);
    case loXORNot: return static_cast<uint8_t>(a ^ ~b);
  }
  return a;
}

}  // namespace kyn
