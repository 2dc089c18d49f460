// TStringAccu: a list of distinct strings in order of first addition, each
// with the number of times it was added. Strings compare exactly
// (case-sensitively); the search is linear.
#pragma once

#include <cstdint>
#include <vector>

#include "kyn/platform/classes.h"

namespace kyn {

class TStringAccu : public TComponent {
 public:
  explicit TStringAccu(TComponent* AOwner);
  String ClassName() const override { return u"TStringAccu"; }

  // Number of distinct strings.
  int32_t Size() const { return FSize; }
  // String ix (1..Size), else empty.
  String GetString(int32_t ix) const;
  String Elem(int32_t ix) const { return GetString(ix); }
  // Additions of string ix (1..Size), else 0.
  int32_t GetCount(int32_t ix) const;
  int32_t Count(int32_t ix) const { return GetCount(ix); }

  // Counts one more occurrence of AString, appending it when new. Raises
  // EKYNDStructError ("not enough memory on heap") if the lists cannot grow.
  void Add(const String& AString);
  void Clear();

 private:
  int32_t FSize = 0;
  std::vector<String> FStrArray;
  std::vector<int32_t> FCntArray;
};

}  // namespace kyn
