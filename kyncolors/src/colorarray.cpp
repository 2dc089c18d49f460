#include "kyn/kyncolors/colorarray.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <new>
#include <string>
#include <utility>

#include "kyn/kyncolors/colors.h"
#include "kyn/kynbase/errors.h"
#include "kyn/kynbase/numscan.h"
#include "rounding.h"

namespace kyn {

namespace {
using LD = long double;
}

TColorArray::TColorArray(TComponent* AOwner) : TComponent(AOwner) {
  FNColors = 1000;
  try {
    FColArray.assign(static_cast<size_t>(FNColors), 0);
  } catch (const std::bad_alloc&) {
    throw EKYNColArrayError(ComponentMessage(*this, u"not enough memory on heap"));
  }
  FillByInterpolation(0, ColorArray_Rainbow);
}

TColorArray::~TColorArray() = default;

void TColorArray::Changed() {
  if (FOnChange) FOnChange(this);
}

void TColorArray::SetSize(int32_t n) {
  if (n <= 0 || n == FNColors) return;
  Resize(n);
}

bool TColorArray::Resize(int32_t n) {
  if (n == FNColors) return true;
  if (n <= 0) return false;
  try {
    FColArray.resize(static_cast<size_t>(n), 0);  // leaves the array as it was on failure
    FNColors = n;
    Changed();
  } catch (...) {
    throw EKYNColArrayError(ComponentMessage(*this, u"not enough memory"));
  }
  return true;
}

TColor TColorArray::GetColorElem(int32_t ix) const {
  if (FColArray.empty()) return 0;
  if (ix < 1) ix = 1;
  if (ix > FNColors) ix = FNColors;
  return FColArray[static_cast<size_t>(ix - 1)];
}

void TColorArray::SetColorElem(int32_t ix, TColor Value) {
  if (FColArray.empty() || ix < 1 || ix > FNColors) return;
  FColArray[static_cast<size_t>(ix - 1)] = Value;
  Changed();
}

void TColorArray::Fill(TColor Color) {
  std::fill(FColArray.begin(), FColArray.end(), Color);
  Changed();
}

void TColorArray::FillByInterpolation(int32_t DiscreteLevels, std::span<const TColor> Colors) {
  if (Colors.empty()) return;
  const int64_t N = FNColors;
  const int64_t H = static_cast<int64_t>(Colors.size()) - 1;
  const int64_t L = DiscreteLevels;
  for (int64_t i = 1; i <= N; ++i) {
    int64_t k = i;
    if (L > 0) {
      const auto level = static_cast<int64_t>(detail::RoundHalfEven(static_cast<LD>(i) / N * L));
      k = static_cast<int64_t>(detail::RoundHalfEven(level * (static_cast<LD>(N) / L)));
    }
    int64_t idx = static_cast<int64_t>(std::trunc(static_cast<LD>((k - 1) * H) / N));
    // k = 0 with at least as many intervals as elements points before the
    // first colour: stay at the first colour.
    if (idx < 0) idx = 0;
    if (idx > H) idx = H;
    const LD frac = static_cast<LD>(H * k) / N - idx;
    const TColor c1 = Colors[static_cast<size_t>(idx)];
    const TColor c2 = Colors[static_cast<size_t>(std::min(idx + 1, H))];
    FColArray[static_cast<size_t>(i - 1)] = InterpolateColor(c1, c2, static_cast<double>(frac));
  }
  Changed();
}

int32_t TColorArray::ColorToIndex(TColor cl, double& distance) const {
  distance = 1;
  int32_t best = 1;
  for (int32_t i = 1; i <= FNColors; ++i) {
    const double d = RGBColorDistance(cl, FColArray[static_cast<size_t>(i - 1)]);
    if (d < distance) {
      distance = d;
      best = i;
    }
  }
  return best;
}

void TColorArray::CopyFrom(const TColorArray* ColArraySource, int32_t SourceElemLo,
                           int32_t SourceElemHi, int32_t DestElem) {
  if (ColArraySource == nullptr) return;
  const int32_t srcSize = ColArraySource->Size();
  const auto clampPos = [srcSize](int32_t p) { return std::min(std::max(p, 1), srcSize); };
  int32_t lo = clampPos(SourceElemLo);
  int32_t hi = clampPos(SourceElemHi);
  if (hi < lo) std::swap(lo, hi);
  // Read the whole source range before writing, so that a copy within this
  // array does not read what it has just written.
  std::vector<TColor> src;
  src.reserve(static_cast<size_t>(hi - lo + 1));
  for (int32_t ix = lo; ix <= hi; ++ix) src.push_back(ColArraySource->GetColorElem(ix));
  for (int32_t ix = lo; ix <= hi; ++ix) {
    const int64_t target = static_cast<int64_t>(DestElem) + (ix - lo);
    if (target >= 1 && target <= FNColors)
      FColArray[static_cast<size_t>(target - 1)] = src[static_cast<size_t>(ix - lo)];
  }
  Changed();
}

void TColorArray::MirrorColors() {
  if (FColArray.empty()) return;
  std::reverse(FColArray.begin(), FColArray.begin() + FNColors);
  Changed();
}

void TColorArray::InvertColors() {
  if (FColArray.empty()) return;
  for (TColor& c : FColArray) c = InvertColor(c);
  Changed();
}

bool TColorArray::IsEqual(const TColorArray& OtherColorArray) const {
  return FNColors == OtherColorArray.FNColors && FColArray == OtherColorArray.FColArray;
}

void TColorArray::Assign(const TPersistent* Source) {
  if (const auto* src = dynamic_cast<const TColorArray*>(Source)) {
    if (src == this) return;
    FColArray = src->FColArray;
    FNColors = src->FNColors;
    return;
  }
  TComponent::Assign(Source);
}

void TColorArray::AssignTo(TPersistent* Dest) const {
  if (auto* dst = dynamic_cast<TColorArray*>(Dest)) {
    dst->Assign(this);
    return;
  }
  TComponent::AssignTo(Dest);
}

bool TColorArray::WriteToOpenTextFile(TTextFile& f, int32_t FirstElem, int32_t LastElem) {
  if (FirstElem > LastElem) std::swap(FirstElem, LastElem);
  if (FirstElem < 1) FirstElem = 1;
  if (LastElem > FNColors) LastElem = FNColors;
  try {
    f.WriteLn(Utf8ToString(std::to_string(FirstElem) + ' ' + std::to_string(LastElem)));
    for (int32_t ix = FirstElem; ix <= LastElem; ++ix) f.WriteLn(ColorToHexStr(GetColorElem(ix)));
  } catch (const std::exception&) {
    // a write failure ends the writing; the result stays true
  }
  return true;
}

bool TColorArray::ReadFromOpenTextFile(TTextFile& f, bool AdjustSize) {
  bool result = false;
  try {
    const int64_t first = f.ReadInteger();
    const int64_t last = f.ReadInteger();
    f.ReadLn();
    if (first < INT32_MIN || first > INT32_MAX || last < INT32_MIN || last > MaxFileColors)
      return false;  // malformed header
    if (AdjustSize && last > 0) Resize(static_cast<int32_t>(last));
    if (last <= FNColors) {
      result = true;
      // Once the file is exhausted every further line reads as empty (value
      // 0); stop asking the file, so a short file costs no more than its
      // length plus the array's size.
      bool atEnd = false;
      for (int64_t ix = first; ix <= last; ++ix) {
        try {
          if (!atEnd && f.Eof()) atEnd = true;
          if (ix < 1 && atEnd) {
            // Positions before 1 would only discard empty lines.
            ix = 0;
            continue;
          }
          TColor value = 0;
          if (!atEnd) {
            const String line = f.ReadLn();
            int32_t pos = 1;
            value = ScanHexNum(line, pos);
          }
          SetColorElem(static_cast<int32_t>(ix), value);
        } catch (const std::exception&) {
          // A failure on one line leaves that position and goes on; before
          // position 1 there is nothing to keep, so a failing file skips to 1.
          if (ix < 1) ix = 0;
        }
      }
    }
    Changed();
  } catch (const std::exception&) {
    // malformed header, failing resize or change callback: the result so far
  }
  return result;
}

bool TColorArray::StoreOnFile(int32_t FirstElem, int32_t LastElem, const String& FileName) {
  TTextFile f;
  try {
    f.Rewrite(FileName);
  } catch (const std::exception&) {
    return false;
  }
  const bool result = WriteToOpenTextFile(f, FirstElem, LastElem);
  try {
    f.Close();
  } catch (const std::exception&) {
  }
  return result;
}

bool TColorArray::LoadFromFile(const String& FileName, bool AdjustSize) {
  TTextFile f;
  try {
    f.Reset(FileName);
  } catch (const std::exception&) {
    return false;
  }
  const bool result = ReadFromOpenTextFile(f, AdjustSize);
  try {
    f.Close();
  } catch (const std::exception&) {
  }
  return result;
}

}  // namespace kyn
