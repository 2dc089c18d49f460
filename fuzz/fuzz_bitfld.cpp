// TBitFld operations against a std::vector<bool> model of its whole storage
// (Size div 8 + 2 bytes, the bits above Size included).
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fuzz_helpers.h"
#include "kyn/dstruct/bitfld.h"

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

struct Model {
  int32_t size = 1000;
  std::vector<bool> bits = std::vector<bool>(127 * 8, false);
  size_t WholeBytesEnd() const { return static_cast<size_t>(size / 8) * 8 + 8; }
  void Resize(int32_t v) {
    if (v <= 0 || v == size) return;
    size = v;
    bits.resize(static_cast<size_t>(v / 8 + 2) * 8, false);
  }
};

void Compare(const kyn::TBitFld& f, const Model& m) {
  Check(f.Size() == m.size);
  const std::vector<uint8_t>& st = f.Storage();
  Check(st.size() * 8 == m.bits.size());
  for (size_t i = 0; i < m.bits.size(); ++i) Check(((st[i / 8] >> (i % 8)) & 1) == m.bits[i]);
  int32_t count = 0, first = -1;
  kyn::TIntArray trues, falses;
  for (int32_t i = -2; i <= m.size + 9; ++i) {
    const bool in = i >= 0 && i <= m.size;
    const bool bit = in && m.bits[static_cast<size_t>(i)];
    Check(f.GetBit(i) == bit);
    if (!in) continue;
    (bit ? trues : falses).push_back(i);
    if (bit && first < 0) first = i;
    count += bit;
  }
  Check(f.CountTrueBits() == count);
  Check(f.FirstTrueBit() == first);
  kyn::TIntArray list;
  f.MakeListOfBits(list, true);
  Check(list == trues);
  f.MakeListOfBits(list, false);
  Check(list == falses);
}

// Takes the storage of f into m (after a random fill).
void Sync(const kyn::TBitFld& f, Model& m) {
  for (size_t i = 0; i < m.bits.size(); ++i) m.bits[i] = (f.Storage()[i / 8] >> (i % 8)) & 1;
}

bool Apply(bool a, bool b, kyn::TLogicOp op) {
  switch (op) {
    case kyn::loAND: return a && b;
    case kyn::loOR: return a || b;
    case kyn::loXOR: return a != b;
    case kyn::loANDNot: return a && !b;
    case kyn::loORNot: return a || !b;
    case kyn::loXORNot: return a == b;
  }
  return a;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kynfuzz::Input in(data, size);
  kyn::TBitFld fields[2] = {kyn::TBitFld(nullptr), kyn::TBitFld(nullptr)};
  Model models[2];
  // Start small (the default Size 1000 makes every comparison slow).
  for (int w = 0; w < 2; ++w) {
    const int32_t v = in.take<uint8_t>() % 100 + 1;
    fields[w].SetSize(v);
    models[w].Resize(v);
  }
  int steps = 0;
  while (!in.empty() && ++steps <= 300) {
    const uint8_t op = in.take<uint8_t>();
    const int32_t arg = in.take<int16_t>();
    const int w = op & 1;
    kyn::TBitFld& f = fields[w];
    Model& m = models[w];
    switch ((op >> 1) % 10) {
      case 0: {
        const int32_t v = arg % 300;  // some <= 0, ignored
        f.SetSize(v);
        m.Resize(v);
        break;
      }
      case 1:
        f.SetBit(arg % 320, op & 0x80);
        if (arg % 320 >= 0 && arg % 320 <= m.size) m.bits[static_cast<size_t>(arg % 320)] = op & 0x80;
        break;
      case 2:
        f.ToggleBit(arg % 320);
        if (arg % 320 >= 0 && arg % 320 <= m.size) m.bits[static_cast<size_t>(arg % 320)].flip();
        break;
      case 3:
        f.Clear();
        m.bits.assign(m.bits.size(), false);
        break;
      case 4:
        f.Invert();
        for (size_t i = 0; i < m.WholeBytesEnd(); ++i) m.bits[i].flip();
        break;
      case 5: {
        const auto lop = static_cast<kyn::TLogicOp>((op >> 5) % 6);
        const Model& other = models[1 - w];
        f.CombineWith(&fields[1 - w], lop);
        if (other.size == m.size)
          for (size_t i = 0; i < m.WholeBytesEnd(); ++i) m.bits[i] = Apply(m.bits[i], other.bits[i], lop);
        break;
      }
      case 6: {
        const int32_t n = arg % (m.size + 50);  // some negative, some above Size
        f.RandomFill(n);
        const int32_t want = n < 0 ? 0 : n > m.size ? m.size : n;
        Check(f.CountTrueBits() == want);
        Sync(f, m);
        break;
      }
      case 7: {
        const double percent = arg / 200.0;  // -163 .. 163
        f.RandomFill(percent);
        const int32_t c = f.CountTrueBits();
        const double exact = (percent < 0 ? 0 : percent > 100 ? 100 : percent) * 0.01 * m.size;
        Check(c >= exact - 1 && c <= exact + 1);
        Sync(f, m);
        break;
      }
      case 8:
        f.Clone(&fields[1 - w]);
        m = models[1 - w];
        break;
      case 9:
        fields[1 - w].Assign(&f);
        models[1 - w] = m;
        break;
    }
    Compare(fields[0], models[0]);
    Compare(fields[1], models[1]);
  }
  return 0;
}
