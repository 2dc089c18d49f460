#include "kyn/dstruct/assocarray.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "kyn/kynbase/numscan.h"

namespace kyn {

namespace {


// Hash of the A-Z-folded key: equal under either comparison means equal hash.
uint32_t KeyHash(StringView k) {
  uint64_t h = 0xCBF29CE484222325ull ^ k.size();
  for (char16_t c : k) h = (h ^ AsciiLower(c)) * 0x100000001B3ull;
  h ^= h >> 29;
  h *= 0xBF58476D1CE4E5B9ull;
  h ^= h >> 32;
  return static_cast<uint32_t>(h);
}

}  // namespace

TAssocArray::TAssocArray(TComponent* AOwner) : TComponent(AOwner) { SetArrayLength(1024); }

void TAssocArray::SetArrayLength(size_t n) {
  FKeyArray.resize(n);
  FDataArray.resize(n);
}

// ------------------------------------------------------------- the index

bool TAssocArray::KeyEquals(StringView Stored, StringView Key) const {
  if (Stored.size() != Key.size()) return false;
  if (!FIgnoreCase) return Stored == Key;
  for (size_t i = 0; i < Stored.size(); ++i)
    if (AsciiLower(Stored[i]) != AsciiLower(Key[i])) return false;
  return true;
}

int32_t TAssocArray::Lookup(StringView Key) const {
  if (FIndex.empty()) return -1;
  const uint32_t h = KeyHash(Key);
  const size_t mask = FIndex.size() - 1;
  int32_t best = -1;
  // Every entry with this folded key sits in the run of used slots that
  // starts at its home slot; the lowest matching index wins.
  for (size_t i = h & mask; FIndex[i].Entry >= 0; i = (i + 1) & mask) {
    const TIndexSlot& s = FIndex[i];
    if (s.Hash == h && (best < 0 || s.Entry < best) &&
        KeyEquals(FKeyArray[static_cast<size_t>(s.Entry)], Key))
      best = s.Entry;
  }
  return best;
}

void TAssocArray::IndexRebuild(size_t Slots) {
  FIndex.assign(Slots, TIndexSlot{0, -1});
  for (int32_t e = 0; e < FNEntries; ++e) IndexInsert(e);
}

void TAssocArray::IndexInsert(int32_t Entry) {
  // FNEntries already counts Entry; keep the load at most one half.
  if (FIndex.size() < 2 * static_cast<size_t>(FNEntries) || FIndex.size() < 16) {
    size_t n = std::max<size_t>(16, FIndex.size());
    while (n < 2 * static_cast<size_t>(FNEntries)) n *= 2;
    if (n != FIndex.size()) {
      IndexRebuild(n);  // inserts every entry, Entry included
      return;
    }
  }
  const uint32_t h = KeyHash(FKeyArray[static_cast<size_t>(Entry)]);
  const size_t mask = FIndex.size() - 1;
  size_t i = h & mask;
  while (FIndex[i].Entry >= 0) i = (i + 1) & mask;
  FIndex[i] = TIndexSlot{h, Entry};
}

size_t TAssocArray::IndexFind(int32_t Entry) const {
  const uint32_t h = KeyHash(FKeyArray[static_cast<size_t>(Entry)]);
  const size_t mask = FIndex.size() - 1;
  size_t i = h & mask;
  while (FIndex[i].Entry != Entry) i = (i + 1) & mask;
  return i;
}

void TAssocArray::IndexErase(int32_t Entry) {
  const size_t mask = FIndex.size() - 1;
  size_t i = IndexFind(Entry);
  FIndex[i].Entry = -1;
  // Backward shift: pull later slots of the run into the hole unless their
  // home slot lies cyclically after the hole.
  for (size_t j = (i + 1) & mask; FIndex[j].Entry >= 0; j = (j + 1) & mask) {
    const size_t home = FIndex[j].Hash & mask;
    const bool stays = (i <= j) ? (i < home && home <= j) : (i < home || home <= j);
    if (stays) continue;
    FIndex[i] = FIndex[j];
    FIndex[j].Entry = -1;
    i = j;
  }
}

void TAssocArray::IndexRenumber(int32_t From, int32_t To) { FIndex[IndexFind(From)].Entry = To; }

// ------------------------------------------------------------ operations

String TAssocArray::GetKeys(int32_t ix) const {
  if (ix < 1 || ix > FNEntries) return String();
  return FKeyArray[static_cast<size_t>(ix - 1)];
}

void TAssocArray::SetKeys(int32_t ix, const String& v) {
  if (ix < 1 || ix > FNEntries) return;
  IndexErase(ix - 1);
  FKeyArray[static_cast<size_t>(ix - 1)] = v;
  IndexInsert(ix - 1);
}

Variant TAssocArray::GetValues(int32_t ix) const {
  if (ix < 1 || ix > FNEntries) return Variant(String());
  return FDataArray[static_cast<size_t>(ix - 1)];
}

void TAssocArray::SetValues(int32_t ix, const Variant& v) {
  if (ix < 1 || ix > FNEntries) return;
  FDataArray[static_cast<size_t>(ix - 1)] = v;
}

void TAssocArray::Add(const String& Key, const Variant& Value) {
  const int32_t hit = Lookup(Key);
  if (hit >= 0) {
    FDataArray[static_cast<size_t>(hit)] = Value;
    return;
  }
  ++FNEntries;
  if (FKeyArray.size() < static_cast<size_t>(FNEntries))
    SetArrayLength(static_cast<size_t>(FNEntries) + static_cast<size_t>(std::max(FGranularity, 0)));
  const size_t e = static_cast<size_t>(FNEntries - 1);
  FKeyArray[e] = FIgnoreCase ? AsciiLowerCase(Key) : Key;
  FDataArray[e] = Value;
  IndexInsert(FNEntries - 1);
}

bool TAssocArray::Remove(const String& Key) {
  const int32_t hit = Lookup(Key);
  if (hit < 0) return false;
  const int32_t last = FNEntries - 1;
  IndexErase(hit);
  if (hit != last) {
    IndexRenumber(last, hit);
    FKeyArray[static_cast<size_t>(hit)] = std::move(FKeyArray[static_cast<size_t>(last)]);
    FDataArray[static_cast<size_t>(hit)] = std::move(FDataArray[static_cast<size_t>(last)]);
  }
  FKeyArray[static_cast<size_t>(last)] = String();
  FDataArray[static_cast<size_t>(last)] = Variant();
  --FNEntries;
  return true;
}

void TAssocArray::Clear() {
  FNEntries = 0;
  FKeyArray.clear();
  FDataArray.clear();
  SetArrayLength(static_cast<size_t>(std::max(FGranularity, 0)));
  FIndex.clear();
}

int32_t TAssocArray::IndexOf(const String& Key) const { return Lookup(Key) + 1; }

Variant TAssocArray::Resolve(const String& Key) const {
  const int32_t hit = Lookup(Key);
  return hit < 0 ? Variant::Null() : FDataArray[static_cast<size_t>(hit)];
}

double TAssocArray::ResolveAsNumber(const String& Key) const {
  const int32_t hit = Lookup(Key);
  if (hit < 0) return 0;
  const Variant& v = FDataArray[static_cast<size_t>(hit)];
  switch (v.VarType()) {
    case TVarType::ShortInt: case TVarType::SmallInt: case TVarType::Integer: case TVarType::Int64:
    case TVarType::Byte: case TVarType::Word: case TVarType::LongWord:
    case TVarType::Single: case TVarType::Double: case TVarType::Currency:
      return v.ToDouble();
    case TVarType::String: {
      int32_t pos = 1;
      return ScanFPNum(v.StringValue(), true, 3, pos);
    }
    default:
      return 0;
  }
}

String TAssocArray::ResolveAsString(const String& Key) const {
  const int32_t hit = Lookup(Key);
  if (hit < 0) return String();
  const Variant& v = FDataArray[static_cast<size_t>(hit)];
  return v.IsNull() ? String() : v.ToString();
}

}  // namespace kyn
