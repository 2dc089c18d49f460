#include "kyn/platform/stringlist.h"

#include <string>

namespace kyn {

size_t TStringList::Check(int i) const {
  if (i < 0 || i >= Count()) throw EListError("List index out of bounds (" + std::to_string(i) + ")");
  return static_cast<size_t>(i);
}

void TStringList::Insert(int i, const String& S) {
  if (i < 0 || i > Count()) throw EListError("List index out of bounds (" + std::to_string(i) + ")");
  FItems.insert(FItems.begin() + i, S);
}

int TStringList::IndexOf(const String& S) const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i] == S) return static_cast<int>(i);
  return -1;
}

String TStringList::Text() const {
  String t;
  for (const String& s : FItems) t += s + u"\r\n";
  return t;
}

void TStringList::Assign(const TPersistent* Source) {
  if (const auto* l = dynamic_cast<const TStringList*>(Source)) {
    FItems = l->FItems;
    return;
  }
  TPersistent::Assign(Source);
}

}  // namespace kyn
