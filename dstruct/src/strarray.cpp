// TStringArray: storage, cells, rows, attributes and numbers.
#include "kyn/dstruct/strarray.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

#include "strarray_impl.h"
#include "kyn/stringl/strings.h"

namespace kyn {

namespace {

constexpr int32_t kPoolSize = 0x8000;
constexpr int32_t kMaxPools = 0xFFFF;
// Upper bound of cells (all columns x allocated rows) a resize accepts.
constexpr int64_t kMaxCells = int64_t{1} << 30;

[[noreturn]] void RaiseNoPool() {
  throw EKYNDStructError(u"Class TStringArray: out of memory (no room for another string pool)");
}

String Dec(int64_t v) { return S(std::to_string(v)); }

// Strict decimal number: [+|-] digits [. digits] [(E|e) [+|-] digits], at
// least one mantissa digit. Returns false when text is not entirely such a
// number.
bool ParseDecimal(StringView t, double& value) {
  std::string a;
  a.reserve(t.size());
  size_t i = 0;
  const size_t n = t.size();
  bool neg = false;
  if (i < n && (t[i] == u'+' || t[i] == u'-')) neg = t[i++] == u'-';
  size_t intDigits = 0, fracDigits = 0, leadZeros = 0, fracLeadZeros = 0;
  bool nonzeroSeen = false;
  for (; i < n && t[i] >= u'0' && t[i] <= u'9'; ++i, ++intDigits) {
    if (!nonzeroSeen && t[i] == u'0') ++leadZeros; else nonzeroSeen = true;
    a.push_back(static_cast<char>(t[i]));
  }
  if (i < n && t[i] == u'.') {
    a.push_back('.');
    for (++i; i < n && t[i] >= u'0' && t[i] <= u'9'; ++i, ++fracDigits) {
      if (!nonzeroSeen && t[i] == u'0') ++fracLeadZeros; else nonzeroSeen = true;
      a.push_back(static_cast<char>(t[i]));
    }
  }
  if (intDigits + fracDigits == 0) return false;
  int64_t exp10 = 0;
  if (i < n && (t[i] == u'e' || t[i] == u'E')) {
    a.push_back('e');
    ++i;
    bool eneg = false;
    if (i < n && (t[i] == u'+' || t[i] == u'-')) {
      eneg = t[i] == u'-';
      a.push_back(static_cast<char>(t[i++]));
    }
    size_t ed = 0;
    for (; i < n && t[i] >= u'0' && t[i] <= u'9'; ++i, ++ed) {
      a.push_back(static_cast<char>(t[i]));
      if (exp10 < 100000) exp10 = exp10 * 10 + (t[i] - u'0');
    }
    if (ed == 0) return false;
    if (eneg) exp10 = -exp10;
  }
  if (i != n) return false;
  double v = 0;
  const auto res = std::from_chars(a.data(), a.data() + a.size(), v);
  if (res.ec == std::errc::result_out_of_range) {
    // Magnitude beyond the double range: decide by the decimal order.
    const int64_t order =
        intDigits > leadZeros ? static_cast<int64_t>(intDigits - leadZeros) + exp10 : exp10 - int64_t(fracLeadZeros);
    v = order > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  } else if (res.ec != std::errc() || res.ptr != a.data() + a.size()) {
    return false;
  }
  value = neg ? -v : v;
  return true;
}

}  // namespace

namespace detail {

uint32_t EncodeCellText(StringView s, uint8_t (&out)[255]) {
  uint32_t n = 0;
  for (size_t i = 0; i < s.size() && n < 255; ++i) {
    const char16_t c = s[i];
    if (c < 0x80) {
      out[n++] = static_cast<uint8_t>(c);
      continue;
    }
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) ++i;
    const int b = WideCharToAnsi(c);
    out[n++] = b < 0 ? '?' : static_cast<uint8_t>(b);
  }
  return n;
}

AnsiString EncodeCellText(StringView s) {
  uint8_t buf[255];
  return AnsiString(reinterpret_cast<const char*>(buf), EncodeCellText(s, buf));
}

const std::array<uint8_t, 256>& StrArrayByteRank() {
  static const std::array<uint8_t, 256> ranks = [] {
    std::array<char16_t, 256> folded{};
    for (int b = 0; b < 256; ++b) {
      char16_t w = AnsiCharToWide(static_cast<unsigned char>(b));
      if (w >= u'A' && w <= u'Z') w = static_cast<char16_t>(w + 32);
      folded[b] = w;
    }
    std::array<char16_t, 256> sorted = folded;
    std::sort(sorted.begin(), sorted.end());
    const auto end = std::unique(sorted.begin(), sorted.end());
    std::array<uint8_t, 256> r{};
    for (int b = 0; b < 256; ++b)
      r[b] = static_cast<uint8_t>(std::lower_bound(sorted.begin(), end, folded[b]) - sorted.begin() + 1);
    return r;
  }();
  return ranks;
}

}  // namespace detail

// ---------------------------------------------------------------------------
// Construction

TStringArray::TStringArray(TComponent* AOwner) : TComponent(AOwner) {
  try {
    FRAllocated = 10;
    FPoiArray.assign(2, std::vector<uint32_t>(10, 0));
    FSortIx.resize(10);
    for (int32_t i = 0; i < 10; ++i) FSortIx[i] = i + 1;
    FRowAttrib.assign(10, 0);
    FColAttrib.assign(1, 0);
    FStgPool.push_back(std::make_unique<TStringPool>());
    FFirstFree.assign(1, 1);
    FNumPoolAddr = 1;
  } catch (const std::bad_alloc&) {
    throw EKYNDStructError(u"Class TStringArray: failed to initialize (out of memory)");
  }
}

TStringArray::~TStringArray() = default;

void TStringArray::Changed() {
  if (FOnChange) FOnChange(this);
}

// ---------------------------------------------------------------------------
// Cells

int32_t TStringArray::StoredRow(int32_t r) const {
  if (r < 1 || r > FNRow) return 0;
  const int32_t s = FSortIx[r - 1];
  return s >= 1 && s <= FNRow ? s : 0;
}

const uint8_t* TStringArray::CellPtr(int32_t c, int32_t s) const {
  const uint32_t a = FPoiArray[c][s - 1];
  if (a == 0) return nullptr;
  return FStgPool[(a >> 16) - 1]->data() + (a & 0xFFFF) - 1;
}

void TStringArray::StoreText(int32_t c, int32_t s, const uint8_t* text, uint32_t len) {
  uint32_t& a = FPoiArray[c][s - 1];
  if (a != 0) {
    uint8_t* p = FStgPool[(a >> 16) - 1]->data() + (a & 0xFFFF) - 1;
    if (p[0] >= len) {
      p[0] = static_cast<uint8_t>(len);
      std::memmove(p + 1, text, len);
      return;
    }
  }
  const int32_t L = static_cast<int32_t>(len);
  const int32_t* ff = FFirstFree.data();
  // Pools only fill up between packings, so a pool that once had no room for
  // L bytes never gets it back: the search for L resumes where it last ended.
  int32_t& from = FFitFrom[len];
  for (int32_t p = from; p < FNumPoolAddr; ++p) {
    from = p;
    if (kPoolSize - ff[p] > L) {
      const int32_t F = ff[p];
      uint8_t* dst = FStgPool[p]->data() + F - 1;
      dst[0] = static_cast<uint8_t>(len);
      std::memcpy(dst + 1, text, len);
      a = (static_cast<uint32_t>(p + 1) << 16) | static_cast<uint32_t>(F);
      FFirstFree[p] = F + L + 1;
      return;
    }
  }
  if (FNumPoolAddr >= kMaxPools) RaiseNoPool();
  Pool np;
  try {
    np = std::make_unique<TStringPool>();
    FStgPool.reserve(static_cast<size_t>(FNumPoolAddr) + 1);
    FFirstFree.reserve(static_cast<size_t>(FNumPoolAddr) + 1);
  } catch (const std::bad_alloc&) {
    RaiseNoPool();
  }
  (*np)[0] = static_cast<uint8_t>(len);
  std::memcpy(np->data() + 1, text, len);
  FStgPool.push_back(std::move(np));
  FFirstFree.push_back(L + 2);
  from = FNumPoolAddr;
  ++FNumPoolAddr;
  a = (static_cast<uint32_t>(FNumPoolAddr) << 16) | 1u;
}

String TStringArray::CellText(int32_t c, int32_t s) const {
  const uint8_t* p = CellPtr(c, s);
  if (!p) return {};
  String out(p[0], u'\0');
  for (uint32_t i = 0; i < p[0]; ++i) out[i] = AnsiCharToWide(p[1 + i]);
  return out;
}

String TStringArray::GetString(int32_t c, int32_t r) const {
  const int32_t s = StoredRow(r);
  if (s == 0 || c < 0 || c > FNCol) return {};
  return CellText(c, s);
}

AnsiString TStringArray::GetAnsiString(int32_t c, int32_t r) const {
  const int32_t s = StoredRow(r);
  if (s == 0 || c < 0 || c > FNCol) return {};
  const uint8_t* p = CellPtr(c, s);
  return p ? AnsiString(reinterpret_cast<const char*>(p + 1), p[0]) : AnsiString();
}

void TStringArray::SetAnsiString(int32_t c, int32_t r, std::string_view text) {
  const int32_t s = StoredRow(r);
  if (s == 0 || c < 0 || c > FNCol) return;
  StoreText(c, s, reinterpret_cast<const uint8_t*>(text.data()),
            static_cast<uint32_t>(std::min<size_t>(text.size(), 255)));
  Changed();
}

void TStringArray::SetString(int32_t c, int32_t r, StringView text) {
  const int32_t s = StoredRow(r);
  if (s == 0 || c < 0 || c > FNCol) return;
  uint8_t buf[255];
  StoreText(c, s, buf, detail::EncodeCellText(text, buf));
  Changed();
}

double TStringArray::GetAsNumber(int32_t c, int32_t r) const {
  const String raw = GetString(c, r);
  const String t = ReplaceCharInString(StripLTBlanks(raw), u',', u'.');
  if (t.empty()) return 0;
  double v = 0;
  if (!ParseDecimal(t, v))
    throw EKYNDStructError(u"Class TStringArray: invalid numeric string: [" + Dec(c) + u"," + Dec(r) + u"]: " + raw);
  return v;
}

int32_t TStringArray::GetAsInteger(int32_t c, int32_t r) const {
  const double v = GetAsNumber(c, r);
  if (v < -2147483647.0) return -2147483647;
  if (v > 2147483647.0) return 2147483647;
  return static_cast<int32_t>(std::nearbyint(v));
}

// ---------------------------------------------------------------------------
// Shape

void TStringArray::ResetIndex() {
  for (size_t i = 0; i < FSortIx.size(); ++i) FSortIx[i] = static_cast<int32_t>(i + 1);
}

bool TStringArray::Reallocate(int32_t Nc, int32_t Nr, bool ResetIx) {
  const int64_t step = std::max(FAllocRowsBy, 1);
  const int64_t R = step * ((int64_t{Nr} - 1) / step + 1);
  if (R > std::numeric_limits<int32_t>::max() || (int64_t{Nc} + 1) * R > kMaxCells) return false;
  const int32_t keepRows = std::min(FNRow, Nr);
  const int32_t keepCols = std::min(FNCol, Nc);
  try {
    std::vector<std::vector<uint32_t>> cells(static_cast<size_t>(Nc) + 1);
    for (int32_t c = 0; c <= Nc; ++c) {
      cells[c].assign(static_cast<size_t>(R), 0);
      if (c <= keepCols) std::copy_n(FPoiArray[c].begin(), keepRows, cells[c].begin());
    }
    std::vector<uint8_t> rowAttr(static_cast<size_t>(R), 0);
    std::copy_n(FRowAttrib.begin(), keepRows, rowAttr.begin());
    std::vector<uint8_t> colAttr(static_cast<size_t>(Nc), 0);
    std::copy_n(FColAttrib.begin(), keepCols, colAttr.begin());
    std::vector<int32_t> ix(static_cast<size_t>(R));
    for (int64_t i = 0; i < R; ++i) ix[i] = static_cast<int32_t>(i + 1);
    if (!ResetIx) std::copy_n(FSortIx.begin(), keepRows, ix.begin());
    FPoiArray.swap(cells);
    FRowAttrib.swap(rowAttr);
    FColAttrib.swap(colAttr);
    FSortIx.swap(ix);
  } catch (const std::bad_alloc&) {
    return false;
  } catch (const std::length_error&) {
    return false;
  }
  FNCol = Nc;
  FNRow = Nr;
  FRAllocated = static_cast<int32_t>(R);
  return true;
}

// Empties stored rows Nr+1..N (cells and attributes) and sets N := Nr, or
// empties stored rows N+1..Nr when growing within the allocation.
void TStringArray::ShrinkRowsTo(int32_t Nr) {
  const int32_t lo = std::min(FNRow, Nr), hi = std::max(FNRow, Nr);
  for (auto& col : FPoiArray) std::fill(col.begin() + lo, col.begin() + hi, 0u);
  std::fill(FRowAttrib.begin() + lo, FRowAttrib.begin() + hi, uint8_t{0});
  FNRow = Nr;
}

bool TStringArray::Resize(int32_t Nc, int32_t Nr) {
  if (Nc == FNCol && Nr == FNRow) return true;
  if (Nc <= 0 || Nr <= 0) return false;
  if (Nc != FNCol || Nr > FRAllocated) {
    if (!Reallocate(Nc, Nr, true)) {
      Changed();
      return false;
    }
  } else {
    ShrinkRowsTo(Nr);
  }
  ResetIndex();
  Changed();
  return true;
}

int32_t TStringArray::AddRow() {
  if (FNRow < std::numeric_limits<int32_t>::max()) SetNrOfRows(FNRow + 1);
  return FNRow;
}

void TStringArray::InsertRow(int32_t r) {
  if (r < 1 || r > FNRow || FNRow == std::numeric_limits<int32_t>::max()) return;
  const int32_t p = FSortIx[r - 1];
  if (p < 1 || p > FNRow) return;
  const int32_t N = FNRow;
  if (N + 1 > FRAllocated) {
    if (!Reallocate(FNCol, N + 1, false)) return;
  } else {
    ShrinkRowsTo(N + 1);
  }
  FSortIx[N] = N + 1;
  Changed();
  // Stored rows p..N move down by one; stored row p becomes the empty row.
  for (auto& col : FPoiArray) {
    std::copy_backward(col.begin() + (p - 1), col.begin() + N, col.begin() + N + 1);
    col[p - 1] = 0;
  }
  std::copy_backward(FRowAttrib.begin() + (p - 1), FRowAttrib.begin() + N, FRowAttrib.begin() + N + 1);
  FRowAttrib[p - 1] = 0;
  for (int32_t i = 0; i < N; ++i)
    if (FSortIx[i] >= p) ++FSortIx[i];
  for (int32_t i = N; i >= r; --i) FSortIx[i] = FSortIx[i - 1];
  FSortIx[r - 1] = p;
  // One notification per cell and one for the attribute of the new row.
  for (int32_t c = 0; c <= FNCol + 1; ++c) Changed();
}

void TStringArray::RemoveRow(int32_t r) {
  const int32_t p = StoredRow(r);
  if (p == 0) return;
  const int32_t N = FNRow;
  if (N == 1) {
    for (auto& col : FPoiArray) col[p - 1] = 0;
    FRowAttrib[p - 1] = 0;
    Changed();
    return;
  }
  for (auto& col : FPoiArray) std::copy(col.begin() + p, col.begin() + N, col.begin() + (p - 1));
  std::copy(FRowAttrib.begin() + p, FRowAttrib.begin() + N, FRowAttrib.begin() + (p - 1));
  std::copy(FSortIx.begin() + r, FSortIx.begin() + N, FSortIx.begin() + (r - 1));
  FSortIx[N - 1] = N;
  for (int32_t i = 0; i < N - 1; ++i)
    if (FSortIx[i] > p) --FSortIx[i];
  for (auto& col : FPoiArray) col[N - 1] = 0;
  FRowAttrib[N - 1] = 0;
  FNRow = N - 1;
  Changed();
}

void TStringArray::CopyRow(int32_t Source, int32_t Target) {
  if (StoredRow(Source) == 0 || StoredRow(Target) == 0) return;
  for (int32_t c = 0; c <= FNCol; ++c) SetAnsiString(c, Target, GetAnsiString(c, Source));
  SetRowAttrib(Target, GetRowAttrib(Source));
}

void TStringArray::Clear() {
  for (auto& col : FPoiArray) std::fill(col.begin(), col.begin() + FNRow, 0u);
  ResetIndex();
  std::fill(FRowAttrib.begin(), FRowAttrib.begin() + FNRow, uint8_t{0});
  std::fill(FColAttrib.begin(), FColAttrib.end(), uint8_t{0});
  FStgPool.resize(1);
  FFirstFree.resize(1);
  FNumPoolAddr = 1;
  FFirstFree[0] = 1;
  FFitFrom.fill(0);
}

void TStringArray::Fill(StringView s) {
  if (s.empty()) {
    Clear();
    return;
  }
  const AnsiString a = detail::EncodeCellText(s);
  for (int32_t c = 0; c <= FNCol; ++c)
    for (int32_t r = 1; r <= FNRow; ++r) SetAnsiString(c, r, a);
}

namespace {
bool Blank(const uint8_t* p) {
  if (!p) return true;
  for (uint32_t i = 1; i <= p[0]; ++i)
    if (p[i] != ' ') return false;
  return true;
}
}  // namespace

bool TStringArray::ColumnEmpty(int32_t ACol) const {
  if (ACol < 0 || ACol > FNCol) return true;
  for (int32_t r = 1; r <= FNRow; ++r) {
    const int32_t s = StoredRow(r);
    if (s != 0 && !Blank(CellPtr(ACol, s))) return false;
  }
  return true;
}

bool TStringArray::RowEmpty(int32_t ARow) const {
  const int32_t s = StoredRow(ARow);
  if (s == 0) return true;
  for (int32_t c = 1; c <= FNCol; ++c)
    if (!Blank(CellPtr(c, s))) return false;
  return true;
}

uint8_t TStringArray::GetRowAttrib(int32_t r) const {
  const int32_t s = StoredRow(r);
  return s == 0 ? 0 : FRowAttrib[s - 1];
}

void TStringArray::SetRowAttrib(int32_t r, uint8_t b) {
  const int32_t s = StoredRow(r);
  if (s == 0) return;
  FRowAttrib[s - 1] = b;
  Changed();
}

uint8_t TStringArray::GetColAttrib(int32_t c) const { return c >= 1 && c <= FNCol ? FColAttrib[c - 1] : 0; }

void TStringArray::SetColAttrib(int32_t c, uint8_t b) {
  if (c < 1 || c > FNCol) return;
  FColAttrib[c - 1] = b;
  Changed();
}

// ---------------------------------------------------------------------------
// Garbage collection

// Packs pool by pool with one pass over all cells per pool; used when the
// bucket lists of the faster path cannot be allocated.
void TStringArray::GarbageCollectionByScan(TStringPool& scratch) {
  for (int32_t p = 1; p <= FNumPoolAddr; ++p) {
    TStringPool& pool = *FStgPool[p - 1];
    int32_t off = 1;
    for (auto& col : FPoiArray)
      for (int32_t s = 0; s < FNRow; ++s) {
        uint32_t& a = col[s];
        if (a == 0 || static_cast<int32_t>(a >> 16) != p) continue;
        const uint8_t* src = pool.data() + (a & 0xFFFF) - 1;
        const int32_t len = src[0];
        std::memcpy(scratch.data() + off - 1, src, static_cast<size_t>(len) + 1);
        a = (static_cast<uint32_t>(p) << 16) | static_cast<uint32_t>(off);
        off += len + 1;
      }
    std::memcpy(pool.data(), scratch.data(), static_cast<size_t>(off - 1));
    FFirstFree[p - 1] = off;
  }
  FFitFrom.fill(0);
}

void TStringArray::GarbageCollection() {
  Pool scratch;
  try {
    scratch = std::make_unique<TStringPool>();
  } catch (const std::bad_alloc&) {
    return;  // nothing to pack into; the pools stay as they are
  }
  // Bucket the cells by pool, keeping the order column 0..n, stored row 1..N
  // within each pool, then pack each pool in that order: the same layout as
  // one scan over all cells per pool, in one scan overall.
  std::vector<uint32_t> start;
  std::vector<uint32_t*> order;
  try {
    start.assign(static_cast<size_t>(FNumPoolAddr) + 2, 0);
    size_t total = 0;
    for (auto& col : FPoiArray)
      for (int32_t s = 0; s < FNRow; ++s)
        if (col[s] != 0) {
          ++start[(col[s] >> 16) + 1];
          ++total;
        }
    order.resize(total);
  } catch (const std::bad_alloc&) {
    GarbageCollectionByScan(*scratch);
    return;
  }
  for (size_t p = 1; p < start.size(); ++p) start[p] += start[p - 1];
  std::vector<uint32_t> next;
  try {
    next.assign(start.begin(), start.end() - 1);
  } catch (const std::bad_alloc&) {
    GarbageCollectionByScan(*scratch);
    return;
  }
  for (auto& col : FPoiArray)
    for (int32_t s = 0; s < FNRow; ++s)
      if (col[s] != 0) order[next[col[s] >> 16]++] = &col[s];
  for (int32_t p = 1; p <= FNumPoolAddr; ++p) {
    const TStringPool& pool = *FStgPool[p - 1];
    int32_t off = 1;
    for (uint32_t i = start[p]; i < start[p + 1]; ++i) {
      uint32_t& a = *order[i];
      const uint8_t* src = pool.data() + (a & 0xFFFF) - 1;
      const int32_t len = src[0];
      if (off + len > kPoolSize) {  // cannot happen while no two cells share an address
        a = 0;
        continue;
      }
      std::memcpy(scratch->data() + off - 1, src, static_cast<size_t>(len) + 1);
      a = (static_cast<uint32_t>(p) << 16) | static_cast<uint32_t>(off);
      off += len + 1;
    }
    std::swap(FStgPool[p - 1], scratch);
    FFirstFree[p - 1] = off;
  }
  FFitFrom.fill(0);
}

}  // namespace kyn
