#include "kyn/dstruct/stringaccu.h"

#include <new>

#include "kyn/kynbase/errors.h"

namespace kyn {

TStringAccu::TStringAccu(TComponent* AOwner) : TComponent(AOwner) {}

String TStringAccu::GetString(int32_t ix) const {
  return ix >= 1 && ix <= FSize ? FStrArray[static_cast<size_t>(ix - 1)] : String();
}

int32_t TStringAccu::GetCount(int32_t ix) const {
  return ix >= 1 && ix <= FSize ? FCntArray[static_cast<size_t>(ix - 1)] : 0;
}

void TStringAccu::Add(const String& AString) {
  for (size_t i = 0; i < FStrArray.size(); ++i) {
    if (FStrArray[i] == AString) {
      FCntArray[i] = static_cast<int32_t>(static_cast<uint32_t>(FCntArray[i]) + 1u);  // wraps
      return;
    }
  }
  try {
    FStrArray.push_back(AString);
    try {
      FCntArray.push_back(1);
    } catch (...) {
      FStrArray.pop_back();
      throw;
    }
  } catch (const std::bad_alloc&) {
    throw EKYNDStructError(ComponentMessage(*this, u"not enough memory on heap"));
  }
  ++FSize;
}

void TStringAccu::Clear() {
  FSize = 0;
  std::vector<String>().swap(FStrArray);
  std::vector<int32_t>().swap(FCntArray);
}

}  // namespace kyn
