// TStringArray: comb sort over the sort index, the index operations and the
// searches.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "kyn/dstruct/strarray.h"
#include "strarray_impl.h"

namespace kyn {

namespace {

int64_t NextGap(int64_t g) {
  const int64_t n = (10 * g) / 13;
  return n == 0 ? 1 : n;
}

// Compares two cells (nullptr = empty) by byte rank from position `from` on;
// a proper prefix sorts first.
int CompareRanked(const uint8_t* a, const uint8_t* b, uint32_t from, const std::array<uint8_t, 256>& rank) {
  const uint32_t la = a ? a[0] : 0, lb = b ? b[0] : 0;
  const uint32_t n = std::min(la, lb);
  for (uint32_t i = from; i < n; ++i) {
    const uint8_t ra = rank[a[1 + i]], rb = rank[b[1 + i]];
    if (ra != rb) return ra < rb ? -1 : 1;
  }
  return la == lb ? 0 : (la < lb ? -1 : 1);
}

// The first 8 ranks of a cell packed big-endian, 0 behind its end.
uint64_t RankPrefix(const uint8_t* p, const std::array<uint8_t, 256>& rank) {
  uint64_t k = 0;
  const uint32_t len = p ? std::min<uint32_t>(p[0], 8) : 0;
  for (uint32_t i = 0; i < 8; ++i) k = (k << 8) | (i < len ? rank[p[1 + i]] : 0u);
  return k;
}

}  // namespace

struct TStringArray::SortEntry {
  uint64_t key;  // rank prefix of the primary cell
  int32_t row;   // stored row
};

void TStringArray::ReportPercent(int64_t done, int64_t T) {
  if (!FOnPercentDone) return;
  const long double q = static_cast<long double>(done) / static_cast<long double>(T) * 100.0L;
  FOnPercentDone(this, static_cast<int32_t>(std::nearbyint(static_cast<double>(q))));
}

String TStringArray::BeforeSortExchange(const String& CellText) {
  String result = CellText;
  if (FOnBefSortExc) FOnBefSortExc(this, CellText, result);
  return result;
}

void TStringArray::Sort(int32_t Col, int32_t ColSec, bool Ascending) {
  if (FOnPercentDone) FOnPercentDone(this, 0);
  const int64_t N = FNRow;
  int64_t T = 0;
  for (int64_t g = N;;) {
    g = NextGap(g);
    T += N - g;
    if (g == 1) break;
  }
  T += N;
  if (N > 1) {
    if (FOnBefSortExc || !SortFast(Col, ColSec, Ascending, T)) SortWithCallback(Col, ColSec, Ascending, T);
    Changed();
  }
  if (FOnPercentDone) FOnPercentDone(this, 100);
}

// Comparison texts through OnBeforeSortExchange, on the index itself.
void TStringArray::SortWithCallback(int32_t Col, int32_t ColSec, bool Ascending, int64_t T) {
  const int64_t N = FNRow;
  auto key = [&](int32_t c, int32_t view) {
    const int32_t s = StoredRow(view);
    const bool valid = c >= 0 && c <= FNCol && s != 0;
    return AsciiLowerCase(BeforeSortExchange(valid ? CellText(c, s) : String()));
  };
  int64_t g = N, done = 0;
  bool swapped;
  do {
    g = NextGap(g);
    swapped = false;
    for (int64_t i = 1; i + g <= N; ++i) {
      const int32_t a = static_cast<int32_t>(i), b = static_cast<int32_t>(i + g);
      const String ka = key(Col, a), kb = key(Col, b);
      int cmp = ka.compare(kb);
      if (cmp == 0 && ColSec > 0) {
        const String sa = key(ColSec, a), sb = key(ColSec, b);
        cmp = sa.compare(sb);
      }
      // A handler that resized the array ends the sort.
      if (FNRow != N) return;
      if (Ascending ? cmp > 0 : cmp < 0) {
        std::swap(FSortIx[a - 1], FSortIx[b - 1]);
        swapped = true;
      }
      ++done;
    }
    ReportPercent(done, T);
    if (FNRow != N) return;
  } while (g != 1 || swapped);
}

// The same comb sort on (rank prefix, stored row) pairs: comparisons read the
// 8-bit cells through the byte ranks and allocate nothing. False when the
// pairs cannot be allocated.
bool TStringArray::SortFast(int32_t Col, int32_t ColSec, bool Ascending, int64_t T) {
  const int64_t N = FNRow;
  std::vector<SortEntry> e;
  try {
    e.resize(static_cast<size_t>(N));
  } catch (const std::bad_alloc&) {
    return false;
  }
  const auto& rank = detail::StrArrayByteRank();
  const bool colOk = Col >= 0 && Col <= FNCol;
  const bool secOk = ColSec > 0 && ColSec <= FNCol;
  for (int64_t i = 0; i < N; ++i) {
    const int32_t s = StoredRow(static_cast<int32_t>(i + 1));
    e[i].row = s;
    e[i].key = colOk && s != 0 ? RankPrefix(CellPtr(Col, s), rank) : 0;
  }
  auto cell = [&](bool ok, int32_t c, int32_t s) -> const uint8_t* { return ok && s != 0 ? CellPtr(c, s) : nullptr; };
  auto compare = [&](const SortEntry& x, const SortEntry& y) {
    if (x.key != y.key) return x.key < y.key ? -1 : 1;
    int cmp = 0;
    // Equal prefixes: only texts longer than 8 can still differ.
    if ((x.key & 0xFF) != 0) cmp = CompareRanked(cell(colOk, Col, x.row), cell(colOk, Col, y.row), 8, rank);
    if (cmp == 0 && secOk) cmp = CompareRanked(cell(true, ColSec, x.row), cell(true, ColSec, y.row), 0, rank);
    return cmp;
  };
  int64_t g = N, done = 0;
  bool swapped;
  do {
    g = NextGap(g);
    swapped = false;
    SortEntry* p = e.data();
    for (int64_t i = 0; i + g < N; ++i) {
      const int cmp = compare(p[i], p[i + g]);
      if (Ascending ? cmp > 0 : cmp < 0) {
        std::swap(p[i], p[i + g]);
        swapped = true;
      }
    }
    done += N - g;
    ReportPercent(done, T);
    if (FNRow != N) return true;  // a progress handler resized the array
  } while (g != 1 || swapped);
  for (int64_t i = 0; i < N; ++i) FSortIx[i] = e[i].row;
  return true;
}

void TStringArray::UnSort() {
  ResetIndex();
  Changed();
}

void TStringArray::CommitSorting() {
  const int32_t N = FNRow;
  std::vector<uint32_t> tmp;
  std::vector<uint8_t> seen;
  try {
    tmp.resize(static_cast<size_t>(N));
    seen.assign(static_cast<size_t>(N), 0);
  } catch (const std::bad_alloc&) {
    return;
  }
  for (int32_t i = 0; i < N; ++i) {
    const int32_t s = FSortIx[i];
    if (s < 1 || s > N || seen[s - 1]) return;  // not a permutation: nothing to commit
    seen[s - 1] = 1;
  }
  for (auto& col : FPoiArray) {
    std::copy_n(col.begin(), N, tmp.begin());
    for (int32_t i = 0; i < N; ++i) col[i] = tmp[FSortIx[i] - 1];
  }
  std::copy_n(FRowAttrib.begin(), N, seen.begin());
  for (int32_t i = 0; i < N; ++i) FRowAttrib[i] = seen[FSortIx[i] - 1];
  ResetIndex();
}

int32_t TStringArray::GetSortOrder(int32_t ix) const { return ix >= 1 && ix <= FNRow ? FSortIx[ix - 1] : -1; }

void TStringArray::SetSortOrder(int32_t ix, int32_t position) {
  if (ix >= 1 && ix <= FNRow && position >= 1 && position <= FNRow) FSortIx[ix - 1] = position;
}

// ---------------------------------------------------------------------------
// Searches

bool TStringArray::FindCell(StringView FindStr, bool MatchCase, int32_t ColLow, int32_t ColHigh, int32_t RowLow,
                            int32_t RowHigh, int32_t& Col, int32_t& row) const {
  return FindCellIntern(FindStr, MatchCase, ColLow, ColHigh, RowLow, RowHigh, Col, row, false);
}

bool TStringArray::FindCellExact(StringView FindStr, bool MatchCase, int32_t ColLow, int32_t ColHigh,
                                 int32_t RowLow, int32_t RowHigh, int32_t& Col, int32_t& row) const {
  return FindCellIntern(FindStr, MatchCase, ColLow, ColHigh, RowLow, RowHigh, Col, row, true);
}

bool TStringArray::FindCellIntern(StringView FindStr, bool MatchCase, int32_t ColLow, int32_t ColHigh,
                                  int32_t RowLow, int32_t RowHigh, int32_t& Col, int32_t& row, bool Exact) const {
  const String f = MatchCase ? String(FindStr) : AsciiLowerCase(FindStr);
  if (ColLow == -1 || ColHigh == -1) {
    ColLow = 0;
    ColHigh = FNCol;
  }
  if (RowLow == -1 && RowHigh == -1) {
    RowLow = 1;
    RowHigh = FNRow;
  }
  ColLow = std::clamp(ColLow, 0, FNCol);
  ColHigh = std::clamp(ColHigh, 0, FNCol);
  RowLow = std::clamp(RowLow, 1, FNRow);
  RowHigh = std::clamp(RowHigh, 1, FNRow);
  if (ColLow > ColHigh) std::swap(ColLow, ColHigh);
  if (RowLow > RowHigh) std::swap(RowLow, RowHigh);
  for (int32_t r = RowLow; r <= RowHigh; ++r)
    for (int32_t c = ColLow; c <= ColHigh; ++c) {
      const String t = MatchCase ? GetString(c, r) : AsciiLowerCase(GetString(c, r));
      const bool hit = Exact ? t == f : !f.empty() && t.find(f) != String::npos;
      if (hit) {
        Col = c;
        row = r;
        return true;
      }
    }
  return false;
}

bool TStringArray::FindCellInSortedColumn(StringView FindStr, bool MatchCase, int32_t ColIx, int32_t RowLow,
                                          int32_t RowHigh, bool ColIsAscending, int32_t& row) const {
  const String f = MatchCase ? String(FindStr) : AsciiLowerCase(FindStr);
  auto cell = [&](int32_t r) { return MatchCase ? GetString(ColIx, r) : AsciiLowerCase(GetString(ColIx, r)); };
  if (RowLow == -1 && RowHigh == -1) {
    RowLow = 1;
    RowHigh = FNRow;
  }
  ColIx = std::clamp(ColIx, 0, FNCol);
  RowLow = std::clamp(RowLow, 1, FNRow);
  RowHigh = std::clamp(RowHigh, 1, FNRow);
  if (RowLow > RowHigh) std::swap(RowLow, RowHigh);
  int32_t lo = RowLow, hi = RowHigh;
  bool found = false;
  row = static_cast<int32_t>((int64_t{lo} + hi) / 2);
  while (!found && lo != hi) {
    const int32_t m = static_cast<int32_t>((int64_t{lo} + hi) / 2);
    row = m;
    const String t = cell(m);
    if (t == f) {
      found = true;
    } else if ((f < t) == ColIsAscending) {
      hi = m;
    } else {
      lo = m + 1;
    }
  }
  if (!found) {
    row = lo;
    found = cell(lo) == f;
  }
  if (found)
    while (row > 1 && cell(row - 1) == f) --row;
  return found;
}

}  // namespace kyn
