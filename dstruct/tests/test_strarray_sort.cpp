// TStringArray: comb sort over the sort index, progress values, the index
// operations and the searches.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "kyn/dstruct.h"
#include "kyn/platform/random.h"

using kyn::S;
using kyn::String;
using kyn::TStringArray;

namespace {

std::vector<std::string> Column(const TStringArray& a, int c) {
  std::vector<std::string> out;
  for (int r = 1; r <= a.NrOfRows(); ++r) out.push_back(kyn::StringToUtf8(a.GetString(c, r)));
  return out;
}

void SetColumn(TStringArray& a, int c, const std::vector<std::string>& v) {
  if (a.NrOfRows() != static_cast<int>(v.size())) {
    ASSERT_TRUE(a.Resize(std::max(a.NrOfColumns(), c), static_cast<int>(v.size())));
  }
  for (size_t i = 0; i < v.size(); ++i) a.SetString(c, static_cast<int>(i + 1), S(v[i]));
}

String Lower(String s) {
  for (char16_t& ch : s)
    if (ch >= u'A' && ch <= u'Z') ch = static_cast<char16_t>(ch + 32);
  return s;
}

TEST(StringArraySort, IgnoresCaseAndOrdersBothWays) {
  TStringArray a(nullptr);
  SetColumn(a, 1, {"b", "A", "c"});
  int changes = 0;
  a.SetOnChange([&](kyn::TObject*) { ++changes; });
  a.Sort(1, 0, true);
  EXPECT_EQ(Column(a, 1), (std::vector<std::string>{"A", "b", "c"}));
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(a.GetSortOrder(1), 2);
  EXPECT_EQ(a.GetSortOrder(2), 1);
  EXPECT_EQ(a.GetSortOrder(3), 3);
  EXPECT_EQ(a.GetSortOrder(0), -1);
  EXPECT_EQ(a.GetSortOrder(4), -1);
  a.Sort(1, 0, false);
  EXPECT_EQ(Column(a, 1), (std::vector<std::string>{"c", "b", "A"}));

  // Committing keeps the view and makes the index the identity; unsorting
  // shows the stored order.
  changes = 0;
  a.CommitSorting();
  EXPECT_EQ(Column(a, 1), (std::vector<std::string>{"c", "b", "A"}));
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(a.GetSortOrder(i), i);
  a.Sort(1, 0, true);
  changes = 0;
  a.UnSort();
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(Column(a, 1), (std::vector<std::string>{"c", "b", "A"}));
}

TEST(StringArraySort, SecondaryColumnColumnZeroAndRowAttributes) {
  TStringArray a(nullptr);
  ASSERT_TRUE(a.Resize(2, 6));
  const char* first[] = {"x", "a", "x", "a", "b", "x"};
  const char* second[] = {"3", "2", "1", "1", "9", "2"};
  for (int r = 1; r <= 6; ++r) {
    a.SetString(1, r, S(first[r - 1]));
    a.SetString(2, r, S(second[r - 1]));
    a.SetString(0, r, S(std::string(1, static_cast<char>('g' - r))));
    a.SetRowAttrib(r, static_cast<uint8_t>(r));
  }
  a.Sort(1, 2, true);
  EXPECT_EQ(Column(a, 1), (std::vector<std::string>{"a", "a", "b", "x", "x", "x"}));
  EXPECT_EQ(Column(a, 2), (std::vector<std::string>{"1", "2", "9", "1", "2", "3"}));
  EXPECT_EQ(a.GetRowAttrib(1), 4);
  EXPECT_EQ(a.GetRowAttrib(6), 1);
  a.Sort(1, 2, false);
  EXPECT_EQ(Column(a, 2), (std::vector<std::string>{"3", "2", "1", "9", "2", "1"}));
  a.Sort(0, 0, true);  // column 0 can be the primary column
  EXPECT_EQ(Column(a, 0), (std::vector<std::string>{"a", "b", "c", "d", "e", "f"}));
  // A column outside 0..n reads empty: nothing moves, the secondary decides.
  a.UnSort();
  a.Sort(7, 0, true);
  EXPECT_EQ(Column(a, 1), (std::vector<std::string>{"x", "a", "x", "a", "b", "x"}));
  a.Sort(7, 2, true);
  EXPECT_EQ(Column(a, 2), (std::vector<std::string>{"1", "1", "2", "2", "3", "9"}));
}

// The callback sees every comparison text, twice per comparison (four times
// when the secondary column decides), and its result is lower-cased.
TEST(StringArraySort, BeforeSortExchangeReplacesTheComparedText) {
  TStringArray a(nullptr);
  SetColumn(a, 1, {"d", "c", "b", "a", "e"});
  int calls = 0;
  a.SetOnBeforeSortExchange([&](kyn::TObject* sender, const String& in, String& out) {
    EXPECT_EQ(sender, &a);
    EXPECT_EQ(out, in);
    ++calls;
    out = u"SAME";
  });
  a.Sort(1, 0, true);
  EXPECT_EQ(Column(a, 1), (std::vector<std::string>{"d", "c", "b", "a", "e"}));
  // N = 5: gaps 3, 2, 1 with 2 + 3 + 4 comparisons and no exchange.
  EXPECT_EQ(calls, 2 * 9);
  calls = 0;
  a.Sort(1, 1, true);
  EXPECT_EQ(calls, 4 * 9);
  // Reverse the order by mapping each letter to its complement.
  a.SetOnBeforeSortExchange([](kyn::TObject*, const String& in, String& out) {
    out = in.empty() ? in : String(1, static_cast<char16_t>(u'Z' - (in[0] - u'a')));
  });
  a.Sort(1, 0, true);
  EXPECT_EQ(Column(a, 1), (std::vector<std::string>{"e", "d", "c", "b", "a"}));
}

TEST(StringArraySort, PercentDoneValues) {
  struct Case {
    std::vector<std::string> cells;
    std::vector<int> expected;
  };
  std::vector<std::string> ascending, descending;
  for (int i = 0; i < 27; ++i) {
    ascending.push_back(std::string(1, static_cast<char>('a' + i)) + "x");
    descending.insert(descending.begin(), ascending.back());
  }
  const Case cases[] = {
      {{"only"}, {0, 100}},
      {{"c", "b", "a"}, {0, 17, 50, 100}},      // T = 6: 1 of 6, 3 of 6
      {{"b", "c", "a"}, {0, 17, 50, 83, 100}},  // a second pass with gap 1
      // T = 24; three passes with gap 1 exceed the estimate.
      {{"c", "a", "d", "e", "f", "g", "b"}, {0, 8, 25, 46, 71, 96, 121, 100}},
      // T = 200: 3.5, 9.5, 17.5, 37.5, 73.5, 86.5 and 99.5 round half to even.
      {ascending, {0, 4, 10, 18, 27, 38, 49, 61, 74, 86, 100}},
      {descending, {0, 4, 10, 18, 27, 38, 49, 61, 74, 86, 100, 100}},
  };
  for (const Case& c : cases) {
    for (bool withHandler : {false, true}) {
      TStringArray a(nullptr);
      SetColumn(a, 1, c.cells);
      std::vector<int> seen;
      int changes = 0;
      a.SetOnChange([&](kyn::TObject*) { ++changes; });
      a.SetOnPercentDone([&](kyn::TObject* sender, int32_t p) {
        EXPECT_EQ(sender, &a);
        seen.push_back(p);
      });
      if (withHandler) a.SetOnBeforeSortExchange([](kyn::TObject*, const String&, String&) {});
      a.Sort(1, 0, true);
      EXPECT_EQ(seen, c.expected) << c.cells.size() << " handler " << withHandler;
      EXPECT_EQ(changes, c.cells.size() > 1 ? 1 : 0);
    }
  }
}

// The byte ranks order the 8-bit characters exactly as their widened,
// lower-cased UTF-16 code units.
TEST(StringArraySort, ByteRanksMatchTheWidenedLowerCasedOrder) {
  const auto& rank = kyn::detail::StrArrayByteRank();
  for (int x = 0; x < 256; ++x)
    for (int y = 0; y < 256; ++y) {
      const String wx = Lower(kyn::AnsiToString(std::string(1, static_cast<char>(x))));
      const String wy = Lower(kyn::AnsiToString(std::string(1, static_cast<char>(y))));
      ASSERT_EQ(rank[x] < rank[y], wx < wy) << x << " " << y;
      ASSERT_EQ(rank[x] == rank[y], wx == wy) << x << " " << y;
    }
  // Sorting all 256 one-byte cells and the 256 cells "x" + byte gives the
  // widened order (ties are only the case pairs A-Z / a-z).
  TStringArray a(nullptr);
  ASSERT_TRUE(a.Resize(1, 512));
  for (int b = 0; b < 256; ++b) {
    a.SetAnsiString(1, b + 1, std::string(1, static_cast<char>(255 - b)));
    a.SetAnsiString(1, b + 257, std::string("x") + static_cast<char>(b));
  }
  for (bool asc : {true, false}) {
    a.Sort(1, 0, asc);
    for (int r = 1; r < 512; ++r) {
      const String k1 = Lower(a.GetString(1, r)), k2 = Lower(a.GetString(1, r + 1));
      ASSERT_TRUE(asc ? !(k2 < k1) : !(k1 < k2)) << r;
    }
  }
}

// The allocation-free sort (no handler) and the callback sort (identity
// handler) exchange exactly the same rows.
TEST(StringArraySort, FastPathEqualsCallbackPath) {
  kyn::RandSeed(12345);
  for (int round = 0; round < 40; ++round) {
    const int n = 1 + kyn::RandomInt(300);
    TStringArray x(nullptr), y(nullptr);
    ASSERT_TRUE(x.Resize(3, n));
    ASSERT_TRUE(y.Resize(3, n));
    for (int c = 0; c <= 3; ++c)
      for (int r = 1; r <= n; ++r) {
        std::string t;
        const int len = kyn::RandomInt(round % 2 ? 14 : 4);
        // Few distinct letters and shared prefixes, so ties and long
        // prefixes are common.
        for (int i = 0; i < len; ++i) t.push_back("aAbB\xE9\xC9\x80\x9F "[kyn::RandomInt(9)]);
        if (kyn::RandomInt(3) == 0) t = "commonprefix" + t;
        x.SetAnsiString(c, r, t);
        y.SetAnsiString(c, r, t);
      }
    y.SetOnBeforeSortExchange([](kyn::TObject*, const String&, String&) {});
    const int col = kyn::RandomInt(5) - 1, sec = kyn::RandomInt(5) - 1;
    const bool asc = kyn::RandomInt(2) == 0;
    std::vector<int> px, py;
    x.SetOnPercentDone([&](kyn::TObject*, int32_t p) { px.push_back(p); });
    y.SetOnPercentDone([&](kyn::TObject*, int32_t p) { py.push_back(p); });
    x.Sort(col, sec, asc);
    y.Sort(col, sec, asc);
    for (int r = 1; r <= n; ++r) ASSERT_EQ(x.GetSortOrder(r), y.GetSortOrder(r)) << round << " row " << r;
    ASSERT_EQ(px, py) << round;
  }
}

TEST(StringArraySort, SetSortOrderAndResetsOfThePendingOrder) {
  TStringArray a(nullptr);
  SetColumn(a, 1, {"p", "q", "r"});
  int changes = 0;
  a.SetOnChange([&](kyn::TObject*) { ++changes; });
  a.SetSortOrder(1, 3);
  a.SetSortOrder(3, 1);
  a.SetSortOrder(0, 1);
  a.SetSortOrder(2, 4);
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(Column(a, 1), (std::vector<std::string>{"r", "q", "p"}));
  a.AddRow();  // any resize drops the order
  EXPECT_EQ(Column(a, 1), (std::vector<std::string>{"p", "q", "r", ""}));
  a.Sort(1, 0, false);
  a.Clear();
  EXPECT_EQ(a.GetSortOrder(1), 1);
}

struct FindCase {
  const char* what;
  bool exact, matchCase;
  int colLow, colHigh, rowLow, rowHigh;
  bool found;
  int col, row;
};

TEST(StringArraySearch, FindCellAndFindCellExact) {
  TStringArray a(nullptr);
  ASSERT_TRUE(a.Resize(3, 6));
  // Row-major: row 1 "", "Alpha", "beta", ""; row 2 ...
  const char* cells[6][4] = {{"z0", "Alpha", "beta", ""},     {"", "gamma", "ALPHABET", "x"},
                             {"id3", "delta", "", "Beta"},    {"", "", "", ""},
                             {"id5", "alphabet", "eta", "b"}, {"last", "Omega", "", "ALPHA"}};
  for (int r = 1; r <= 6; ++r)
    for (int c = 0; c <= 3; ++c) a.SetString(c, r, S(cells[r - 1][c]));
  const FindCase cases[] = {
      {"alpha", false, false, -1, -1, -1, -1, true, 1, 1},
      {"alpha", false, true, -1, -1, -1, -1, true, 1, 5},
      {"ALPHA", false, true, -1, -1, -1, -1, true, 2, 2},
      {"alpha", true, false, 2, 2, -1, -1, false, 0, 0},
      {"alpha", true, false, -1, 2, 2, 6, true, 3, 6},  // ColLow = -1: all columns
      {"ALPHABET", true, false, 3, 1, 6, 2, true, 2, 2},  // bounds exchanged
      {"eta", false, false, 2, 2, -1, 5, true, 2, 1},    // RowLow -1 with RowHigh 5 clamps to 1..5
      {"eta", true, false, 2, 2, -1, 5, true, 2, 5},
      {"", false, false, -1, -1, -1, -1, false, 0, 0},    // an empty text occurs nowhere
      {"", true, false, -1, -1, -1, -1, true, 3, 1},      // the first empty cell, row-major
      {"", true, false, 0, 2, 1, 3, true, 0, 2},
      {"z0", true, false, 0, 0, 1, 1, true, 0, 1},
      {"omega", false, false, 0, 99, 0, 99, true, 1, 6},  // clamped into range
      {"nothing", false, false, -1, -1, -1, -1, false, 0, 0},
  };
  for (const FindCase& fc : cases) {
    int col = -7, row = -7;
    const bool hit = fc.exact ? a.FindCellExact(S(fc.what), fc.matchCase, fc.colLow, fc.colHigh, fc.rowLow,
                                                fc.rowHigh, col, row)
                              : a.FindCell(S(fc.what), fc.matchCase, fc.colLow, fc.colHigh, fc.rowLow, fc.rowHigh,
                                           col, row);
    EXPECT_EQ(hit, fc.found) << fc.what << " exact " << fc.exact;
    if (fc.found) {
      EXPECT_EQ(col, fc.col) << fc.what;
      EXPECT_EQ(row, fc.row) << fc.what;
    } else {
      EXPECT_EQ(col, -7);
      EXPECT_EQ(row, -7);
    }
  }
  // Searching sees the view order.
  a.Sort(1, 0, false);
  int col = 0, row = 0;
  ASSERT_TRUE(a.FindCellExact(u"gamma", false, 1, 1, -1, -1, col, row));
  EXPECT_EQ(row, 2);
}

TEST(StringArraySearch, FindCellInSortedColumn) {
  TStringArray a(nullptr);
  SetColumn(a, 1, {"", "", "apple", "Kiwi", "kiwi", "KIWI", "mango", "pear", "zebra"});
  struct Case {
    const char* what;
    bool matchCase;
    int rowLow, rowHigh;
    bool found;
    int row;
  };
  const Case cases[] = {
      {"zebra", false, -1, -1, true, 9},  // only in the last row
      {"apple", false, 3, 3, true, 3},    // a one-row range
      {"kiwi", false, -1, -1, true, 4},   // topmost of the run
      {"kiwi", false, 6, 9, true, 4},     // the walk goes above RowLow
      {"", false, -1, -1, true, 1},       // empty cells at the top
      {"pear", false, 9, 1, true, 8},     // bounds exchanged
      {"melon", false, -1, -1, false, 8}, // the last row probed
      {"aardvark", false, -1, -1, false, 3},
  };
  for (const Case& c : cases) {
    int row = -7;
    EXPECT_EQ(a.FindCellInSortedColumn(S(c.what), c.matchCase, 1, c.rowLow, c.rowHigh, true, row), c.found) << c.what;
    EXPECT_EQ(row, c.row) << c.what;
  }
  // Descending column; a column index out of range is clamped.
  TStringArray d(nullptr);
  SetColumn(d, 1, {"z", "m", "m", "c", "a"});
  int row = 0;
  EXPECT_TRUE(d.FindCellInSortedColumn(u"m", true, 1, -1, -1, false, row));
  EXPECT_EQ(row, 2);
  EXPECT_TRUE(d.FindCellInSortedColumn(u"a", true, 5, -1, -1, false, row));
  EXPECT_EQ(row, 5);
  EXPECT_FALSE(d.FindCellInSortedColumn(u"M", true, 1, -1, -1, false, row));
}

}  // namespace
