// Variant: one value of a kind it reports.
//
// Kinds: empty, Null, truth value, signed and unsigned integers of 8, 16, 32
// and 64 bits, single and double floats, currency (a fixed-point amount with
// four decimals, stored as an integer count of 1/10000), date (days since
// 1899-12-30 as a double, the fraction being the time of day) and string.
//
// Conversions to text: integers in decimal; floats in the shortest form that
// reads back exactly; currency with up to four decimals, trailing zeros cut;
// dates as "YYYY-MM-DD" or "YYYY-MM-DD hh:mm:ss"; truth values as "True" and
// "False"; empty as "" and Null raises EVariantError.
// Conversions to numbers: numeric kinds give their value; truth values 1 or 0;
// dates their day count; strings are read as a whole decimal number (surrounding blanks allowed) and
// raise EVariantError otherwise; empty gives 0; Null raises EVariantError.
#pragma once

#include <cstdint>

#include "kyn/platform/exceptions.h"
#include "kyn/platform/string.h"

namespace kyn {

enum class TVarType : uint8_t {
  Empty, Null, Boolean,
  ShortInt, SmallInt, Integer, Int64,  // signed 8, 16, 32, 64 bits
  Byte, Word, LongWord, UInt64,        // unsigned 8, 16, 32, 64 bits
  Single, Double, Currency, Date, String
};

class Variant {
 public:
  Variant() = default;
  Variant(bool v) : FType(TVarType::Boolean) { FU.b = v; }
  Variant(int8_t v) : FType(TVarType::ShortInt) { FU.i = v; }
  Variant(int16_t v) : FType(TVarType::SmallInt) { FU.i = v; }
  Variant(int32_t v) : FType(TVarType::Integer) { FU.i = v; }
  Variant(int64_t v) : FType(TVarType::Int64) { FU.i = v; }
  Variant(uint8_t v) : FType(TVarType::Byte) { FU.u = v; }
  Variant(uint16_t v) : FType(TVarType::Word) { FU.u = v; }
  Variant(uint32_t v) : FType(TVarType::LongWord) { FU.u = v; }
  Variant(uint64_t v) : FType(TVarType::UInt64) { FU.u = v; }
  Variant(float v) : FType(TVarType::Single) { FU.d = v; }
  Variant(double v) : FType(TVarType::Double) { FU.d = v; }
  Variant(const String& v) : FType(TVarType::String), FStr(v) {}
  Variant(String&& v) : FType(TVarType::String), FStr(std::move(v)) {}
  Variant(const char16_t* v) : FType(TVarType::String), FStr(v) {}

  static Variant Null() { Variant v; v.FType = TVarType::Null; return v; }
  // Currency from its count of 1/10000 units.
  static Variant FromCurrencyUnits(int64_t units) { Variant v; v.FType = TVarType::Currency; v.FU.i = units; return v; }
  static Variant Currency(double amount);
  static Variant Date(double days) { Variant v; v.FType = TVarType::Date; v.FU.d = days; return v; }

  TVarType VarType() const { return FType; }
  bool IsEmpty() const { return FType == TVarType::Empty; }
  bool IsNull() const { return FType == TVarType::Null; }
  bool IsNumeric() const;  // integer, float or currency kinds
  bool IsString() const { return FType == TVarType::String; }

  // Raw access for a known kind.
  int64_t SignedValue() const { return FU.i; }
  uint64_t UnsignedValue() const { return FU.u; }
  double FloatValue() const { return FU.d; }
  int64_t CurrencyUnits() const { return FU.i; }
  const String& StringValue() const { return FStr; }

  String ToString() const;
  double ToDouble() const;
  int64_t ToInt64() const;
  bool ToBool() const;

  // Same kind and same value (strings by code units, floats by value).
  bool operator==(const Variant& o) const;

 private:
  TVarType FType = TVarType::Empty;
  union {
    bool b;
    int64_t i;
    uint64_t u;
    double d;
  } FU{};
  String FStr;
};

}  // namespace kyn
