// TAssocArray against a plain model that stores the entries in two arrays
// and finds keys by scanning them in index order: every operation must give
// the same results and leave the same keys and values at the same indexes.
// At the end the XML form must bring the same entries back. Inputs starting
// with "<" are read as XML instead: whatever the reader accepts must write
// and read back to the same entries.
#include <cstdint>
#include <vector>

#include "fuzz_helpers.h"
#include "kyn/dstruct/assocarray.h"

namespace {

using kyn::String;
using kyn::Variant;

char16_t Fold(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; }

struct Model {
  std::vector<String> keys;
  std::vector<Variant> values;
  bool ignoreCase = true;

  bool Equal(const String& a, const String& b) const {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
      if ((ignoreCase ? Fold(a[i]) : a[i]) != (ignoreCase ? Fold(b[i]) : b[i])) return false;
    return true;
  }
  int Find(const String& k) const {
    for (size_t i = 0; i < keys.size(); ++i)
      if (Equal(keys[i], k)) return static_cast<int>(i);
    return -1;
  }
  void Add(const String& k, const Variant& v) {
    const int i = Find(k);
    if (i >= 0) {
      values[static_cast<size_t>(i)] = v;
      return;
    }
    String stored = k;
    if (ignoreCase)
      for (char16_t& c : stored) c = Fold(c);
    keys.push_back(stored);
    values.push_back(v);
  }
  bool Remove(const String& k) {
    const int i = Find(k);
    if (i < 0) return false;
    keys[static_cast<size_t>(i)] = keys.back();
    values[static_cast<size_t>(i)] = values.back();
    keys.pop_back();
    values.pop_back();
    return true;
  }
};

// Short keys over a small alphabet, so that keys collide, differ only in
// case, or fold to the same text.
String TakeKey(kynfuzz::Input& in) {
  static const char16_t alphabet[] = {u'a', u'A', u'b', u'B', u'z', u'Z', u'\u00e9', u'\u00c9'};
  const uint8_t b = in.take<uint8_t>();
  String k;
  for (int i = 0; i < (b & 3); ++i) k += alphabet[(b >> (2 + i)) & 7];
  if (b == 0xFF) k = String(u"\xd800", 1);
  return k;
}

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

void CompareAll(const kyn::TAssocArray& a, const Model& m) {
  Check(a.NumEntries() == static_cast<int32_t>(m.keys.size()));
  for (int32_t ix = 1; ix <= a.NumEntries(); ++ix) {
    Check(a.GetKeys(ix) == m.keys[static_cast<size_t>(ix - 1)]);
    Check(a.GetValues(ix) == m.values[static_cast<size_t>(ix - 1)]);
    Check(a.IndexOf(m.keys[static_cast<size_t>(ix - 1)]) == m.Find(m.keys[static_cast<size_t>(ix - 1)]) + 1);
  }
}

void SameEntries(const kyn::TAssocArray& a, const kyn::TAssocArray& b) {
  Check(a.NumEntries() == b.NumEntries() && a.IgnoreCase() == b.IgnoreCase());
  for (int32_t ix = 1; ix <= a.NumEntries(); ++ix) {
    Check(a.GetKeys(ix) == b.GetKeys(ix));
    const Variant x = a.GetValues(ix), y = b.GetValues(ix);
    // NaN is the one value not equal to itself.
    const bool floats = x.VarType() == kyn::TVarType::Single || x.VarType() == kyn::TVarType::Double ||
                        x.VarType() == kyn::TVarType::Date;
    Check(x == y || (floats && x.VarType() == y.VarType() && x.FloatValue() != x.FloatValue() &&
                     y.FloatValue() != y.FloatValue()));
  }
}

void ReadXml(const uint8_t* data, size_t size) {
  kyn::TStringStream s{std::string_view(reinterpret_cast<const char*>(data), size)};
  kyn::TAssocArray a(nullptr);
  a.Add(u"before", Variant(1.0));
  if (!a.ReadFromXMLStream(s, String())) {
    Check(a.NumEntries() == 1 && a.GetKeys(1) == u"before");
    return;
  }
  kyn::TStringStream w;
  a.WriteToXMLStream(w, false, u"again");
  w.SetPosition(0);
  kyn::TAssocArray b(nullptr);
  Check(b.ReadFromXMLStream(w, u"again"));
  SameEntries(a, b);
  kyn::TAssocArray c(nullptr);
  c.AddXMLAttributes(kyn::AnsiToString(std::string_view(reinterpret_cast<const char*>(data), size)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 0 && data[0] == '<') {
    ReadXml(data, size);
    return 0;
  }
  kynfuzz::Input in(data, size);
  kyn::TAssocArray a(nullptr);
  Model m;
  int ops = 0;
  while (!in.empty() && ops++ < 2000) {
    const uint8_t op = in.take<uint8_t>();
    const String k = TakeKey(in);
    switch (op % 9) {
      case 0: case 1: case 2: {
        const Variant v(static_cast<int32_t>(in.take<uint8_t>()));
        a.Add(k, v);
        m.Add(k, v);
        break;
      }
      case 3:
        Check(a.Remove(k) == m.Remove(k));
        break;
      case 4: {
        const int32_t ix = static_cast<int32_t>(in.take<uint8_t>() % (m.keys.size() + 2));
        a.SetKeys(ix, k);
        if (ix >= 1 && ix <= static_cast<int32_t>(m.keys.size())) m.keys[static_cast<size_t>(ix - 1)] = k;
        break;
      }
      case 5: {
        const int32_t ix = static_cast<int32_t>(in.take<uint8_t>() % (m.keys.size() + 2));
        const Variant v(k);
        a.SetValues(ix, v);
        if (ix >= 1 && ix <= static_cast<int32_t>(m.keys.size())) m.values[static_cast<size_t>(ix - 1)] = v;
        break;
      }
      case 6:
        a.SetIgnoreCase(!a.IgnoreCase());
        m.ignoreCase = a.IgnoreCase();
        break;
      case 7:
        if ((op >> 4) == 0) {
          a.Clear();
          m.keys.clear();
          m.values.clear();
        } else {
          a.SetGranularity(static_cast<int32_t>(op >> 4) - 3);
        }
        break;
      default:
        break;
    }
    const int found = m.Find(k);
    const Variant got = a.Resolve(k);
    Check(found < 0 ? got.IsNull() : got == m.values[static_cast<size_t>(found)]);
    Check(a.NumEntries() == static_cast<int32_t>(m.keys.size()));
    Check(a.Capacity() >= a.NumEntries());
    if (ops % 16 == 0) CompareAll(a, m);
  }
  CompareAll(a, m);

  kyn::TStringStream s;
  a.WriteToXMLStream(s, true, u"fuzz");
  s.SetPosition(0);
  kyn::TAssocArray b(nullptr);
  b.SetIgnoreCase(!a.IgnoreCase());
  Check(b.ReadFromXMLStream(s, u"FUZZ"));
  Check(b.IgnoreCase() == a.IgnoreCase());
  CompareAll(b, m);
  return 0;
}
