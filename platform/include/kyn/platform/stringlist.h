// TStringList: an ordered list of strings.
#pragma once

#include <vector>

#include "kyn/platform/classes.h"
#include "kyn/platform/string.h"

namespace kyn {

class TStringList : public TPersistent {
 public:
  String ClassName() const override { return u"TStringList"; }
  int Add(const String& S) { FItems.push_back(S); return Count() - 1; }
  void Clear() { FItems.clear(); }
  int Count() const { return static_cast<int>(FItems.size()); }
  // Index from 0; out of range raises EListError.
  const String& operator[](int i) const { return FItems.at(Check(i)); }
  const String& Strings(int i) const { return FItems.at(Check(i)); }
  void SetStrings(int i, const String& S) { FItems.at(Check(i)) = S; }
  void Insert(int i, const String& S);
  void Delete(int i) { FItems.erase(FItems.begin() + static_cast<long>(Check(i))); }
  // Index of the first exact match, or -1.
  int IndexOf(const String& S) const;
  // The items, each followed by CR LF.
  String Text() const;
  void Assign(const TPersistent* Source) override;
  const std::vector<String>& Items() const { return FItems; }

 private:
  size_t Check(int i) const;
  std::vector<String> FItems;
};

}  // namespace kyn
