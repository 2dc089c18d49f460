// String array: random operation sequences replayed against a plain model
// (rows of strings in stored order plus the view order); every cell, the
// attributes and the sort index are compared after each step.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_helpers.h"
#include "kyn/dstruct.h"

namespace {

struct Row {
  std::vector<std::string> cells;  // columns 0..n, 8-bit text
  uint8_t attr = 0;
};

struct Model {
  int n = 1;
  std::vector<Row> stored = {Row{{"", ""}, 0}};
  std::vector<int> view = {0};  // view row -> stored row (0-based)
  std::vector<uint8_t> colAttr = {0};

  int N() const { return static_cast<int>(stored.size()); }
  Row& At(int r) { return stored[static_cast<size_t>(view[static_cast<size_t>(r - 1)])]; }
  void Identity() {
    view.resize(stored.size());
    for (size_t i = 0; i < view.size(); ++i) view[i] = static_cast<int>(i);
  }
  bool Resize(int nc, int nr) {
    if (nc == n && nr == N()) return true;
    if (nc <= 0 || nr <= 0) return false;
    stored.resize(static_cast<size_t>(nr), Row{std::vector<std::string>(static_cast<size_t>(n) + 1), 0});
    for (Row& row : stored) row.cells.resize(static_cast<size_t>(nc) + 1);
    colAttr.resize(static_cast<size_t>(nc), 0);
    n = nc;
    Identity();
    return true;
  }
};

std::string Lower(const std::string& s) {
  std::string t = s;
  for (char& c : t)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return t;
}

// The comparison key: widened through Windows-1252, A-Z lower-cased.
kyn::String Key(const std::string& s) { return kyn::AnsiToString(Lower(s)); }

// A plain comb sort of the view, comparing widened keys.
void ModelSort(Model& m, int col, int sec, bool asc) {
  const int N = m.N();
  if (N <= 1) return;
  auto cell = [&](int view, int c) -> kyn::String {
    if (c < 0 || c > m.n) return {};
    return Key(m.stored[static_cast<size_t>(m.view[static_cast<size_t>(view)])].cells[static_cast<size_t>(c)]);
  };
  int g = N;
  bool swapped;
  do {
    g = std::max(1, g * 10 / 13);
    swapped = false;
    for (int i = 0; i + g < N; ++i) {
      int cmp = cell(i, col).compare(cell(i + g, col));
      if (cmp == 0 && sec > 0) cmp = cell(i, sec).compare(cell(i + g, sec));
      if (asc ? cmp > 0 : cmp < 0) {
        std::swap(m.view[static_cast<size_t>(i)], m.view[static_cast<size_t>(i + g)]);
        swapped = true;
      }
    }
  } while (g != 1 || swapped);
}

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

void Compare(const Model& m, const kyn::TStringArray& a) {
  Check(a.NrOfColumns() == m.n && a.NrOfRows() == m.N());
  Check(a.NumBuffers() >= 1);
  for (int r = 1; r <= m.N(); ++r) {
    const Row& row = m.stored[static_cast<size_t>(m.view[static_cast<size_t>(r - 1)])];
    Check(a.GetSortOrder(r) == m.view[static_cast<size_t>(r - 1)] + 1);
    Check(a.GetRowAttrib(r) == row.attr);
    for (int c = 0; c <= m.n; ++c) Check(a.GetAnsiString(c, r) == row.cells[static_cast<size_t>(c)]);
  }
  for (int c = 1; c <= m.n; ++c) Check(a.GetColAttrib(c) == m.colAttr[static_cast<size_t>(c - 1)]);
  Check(a.GetString(m.n + 1, 1).empty() && a.GetString(0, m.N() + 1).empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kynfuzz::Input in(data, size);
  kyn::TStringArray a(nullptr);
  Model m;
  for (int step = 0; step < 300 && !in.empty(); ++step) {
    const uint8_t op = in.take<uint8_t>() % 16;
    const int c = in.take<uint8_t>() % 9 - 1;            // -1..7
    const int r = in.take<uint8_t>() % 64 + (op == 4 ? 0 : -1);  // mostly in range, some outside
    switch (op) {
      case 0:
      case 1: {  // set a cell from bytes; a long text is cut to 255
        const uint8_t len = in.take<uint8_t>();
        std::string text = in.bytes(len % 24);
        if (len >= 250) text = std::string(300, text.empty() ? 'L' : text[0]);
        a.SetAnsiString(c, r, text);
        if (c >= 0 && c <= m.n && r >= 1 && r <= m.N()) m.At(r).cells[static_cast<size_t>(c)] = text.substr(0, 255);
        break;
      }
      case 2: {  // set a cell through the UTF-16 interface
        const std::string bytes = in.bytes(in.take<uint8_t>() % 12);
        kyn::String text;
        std::string expect;
        for (unsigned char b : bytes) {
          if (b == 0xFF) {
            text += u'\u0416';  // no Windows-1252 byte
            expect += '?';
          } else {
            text += kyn::AnsiCharToWide(b);
            expect += static_cast<char>(b);
          }
        }
        a.SetString(c, r, text);
        if (c >= 0 && c <= m.n && r >= 1 && r <= m.N()) m.At(r).cells[static_cast<size_t>(c)] = expect;
        break;
      }
      case 3:
        a.InsertRow(r);
        if (r >= 1 && r <= m.N()) {
          const int p = m.view[static_cast<size_t>(r - 1)];
          m.stored.insert(m.stored.begin() + p, Row{std::vector<std::string>(static_cast<size_t>(m.n) + 1), 0});
          for (int& v : m.view)
            if (v >= p) ++v;
          m.view.insert(m.view.begin() + (r - 1), p);
        }
        break;
      case 4:
        a.RemoveRow(r);
        if (r >= 1 && r <= m.N()) {
          if (m.N() == 1) {
            m.stored[0] = Row{std::vector<std::string>(static_cast<size_t>(m.n) + 1), 0};
          } else {
            const int p = m.view[static_cast<size_t>(r - 1)];
            m.stored.erase(m.stored.begin() + p);
            m.view.erase(m.view.begin() + (r - 1));
            for (int& v : m.view)
              if (v > p) --v;
          }
        }
        break;
      case 5: {
        const int nc = c < 0 ? 0 : c % 6 + 1;
        const int nr = in.take<uint8_t>() % 80;  // 0 is refused
        Check(a.Resize(nc, nr) == m.Resize(nc, nr));
        break;
      }
      case 6: {
        const uint8_t s = in.take<uint8_t>();
        const int sec = s % 9 - 1;
        const bool asc = r % 2 == 0;
        // An identity handler takes the comparison-text path of the sort.
        if (s & 0x80) a.SetOnBeforeSortExchange([](kyn::TObject*, const kyn::String&, kyn::String&) {});
        else a.SetOnBeforeSortExchange(nullptr);
        a.Sort(c, sec, asc);
        ModelSort(m, c, sec, asc);
        break;
      }
      case 7: {
        a.CommitSorting();
        std::vector<Row> s;
        for (int v : m.view) s.push_back(m.stored[static_cast<size_t>(v)]);
        m.stored = std::move(s);
        m.Identity();
        break;
      }
      case 8:
        a.UnSort();
        m.Identity();
        break;
      case 9:
        a.GarbageCollection();
        break;
      case 10:
        a.Clear();
        Check(a.NumBuffers() == 1);
        for (Row& row : m.stored) row = Row{std::vector<std::string>(static_cast<size_t>(m.n) + 1), 0};
        std::fill(m.colAttr.begin(), m.colAttr.end(), 0);
        m.Identity();
        break;
      case 11: {
        const uint8_t b = in.take<uint8_t>();
        a.SetRowAttrib(r, b);
        if (r >= 1 && r <= m.N()) m.At(r).attr = b;
        a.SetColAttrib(c, b);
        if (c >= 1 && c <= m.n) m.colAttr[static_cast<size_t>(c - 1)] = b;
        break;
      }
      case 12: {
        const int target = in.take<uint8_t>() % 64;
        a.CopyRow(r, target);
        if (r >= 1 && r <= m.N() && target >= 1 && target <= m.N()) m.At(target) = Row(m.At(r));
        break;
      }
      case 13:
        if (m.N() < 400) {
          Check(a.AddRow() == m.N() + 1);
          m.Resize(m.n, m.N() + 1);
        }
        break;
      case 14: {
        const std::string text = in.bytes(static_cast<size_t>(r & 3));
        a.Fill(kyn::AnsiToString(text));
        if (text.empty()) {
          for (Row& row : m.stored) row = Row{std::vector<std::string>(static_cast<size_t>(m.n) + 1), 0};
          std::fill(m.colAttr.begin(), m.colAttr.end(), 0);
          m.Identity();
        } else {
          for (Row& row : m.stored) std::fill(row.cells.begin(), row.cells.end(), text);
        }
        break;
      }
      case 15:
        a.SetAllocRowsBy(c * 3 - 2);  // -5..19
        break;
    }
    Compare(m, a);
  }
  // Packing keeps everything, and committing makes the stored order the view.
  a.GarbageCollection();
  Compare(m, a);
  return 0;
}
