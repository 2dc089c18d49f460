// TStringArray: pooled storage, cells, shape, rows, attributes, numbers and
// change notifications.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "kyn/dstruct.h"

using kyn::S;
using kyn::String;
using kyn::TStringArray;

namespace {

struct Fixture : ::testing::Test {
  TStringArray a{nullptr};
  int changes = 0;
  void SetUp() override {
    a.SetOnChange([this](kyn::TObject* sender) {
      EXPECT_EQ(sender, &a);
      ++changes;
    });
  }
  // Fills column c of rows 1..N with "r<row>".
  void FillColumn(int c) {
    for (int r = 1; r <= a.NrOfRows(); ++r) a.SetString(c, r, S("r" + std::to_string(r)));
  }
  std::vector<std::string> Column(int c) const {
    std::vector<std::string> out;
    for (int r = 1; r <= a.NrOfRows(); ++r) out.push_back(kyn::StringToUtf8(a.GetString(c, r)));
    return out;
  }
};

using StringArray = Fixture;

TEST_F(StringArray, NewArrayHasColumnZeroAndOneColumnOneRow) {
  EXPECT_EQ(a.NrOfColumns(), 1);
  EXPECT_EQ(a.NrOfRows(), 1);
  EXPECT_EQ(a.NumBuffers(), 1);
  EXPECT_EQ(a.AllocRowsBy(), 10);
  a.SetString(0, 1, u"x");
  a.SetString(1, 1, u"y");
  EXPECT_EQ(changes, 2);
  a.SetString(2, 1, u"z");
  a.SetString(-1, 1, u"z");
  a.SetString(1, 2, u"z");
  a.SetString(1, 0, u"z");
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(a.GetString(0, 1), u"x");
  EXPECT_EQ(a.GetString(1, 1), u"y");
  EXPECT_EQ(a.GetString(2, 1), u"");
  EXPECT_EQ(a.GetString(1, 2), u"");
  EXPECT_EQ(a.ClassName(), u"TStringArray");
}

TEST_F(StringArray, OwnerDestroysTheArray) {
  kyn::TComponent owner(nullptr);
  auto* owned = new TStringArray(&owner);
  EXPECT_EQ(owner.ComponentCount(), 1);
  EXPECT_EQ(owner.Components(0), owned);
}

// Text conversion at the boundary: Windows-1252, "?" for anything else, at
// most 255 characters.
TEST_F(StringArray, TextIsCutTo255AndForeignCharactersBecomeQuestionMarks) {
  a.SetString(1, 1, String(300, u'q'));
  EXPECT_EQ(a.GetString(1, 1), String(255, u'q'));
  a.SetString(1, 1, u"\u20AC\u00E9\u0416x\U0001F600y\xD800");  // euro, e acute, Cyrillic, emoji, lone surrogate
  EXPECT_EQ(a.GetString(1, 1), u"\u20AC\u00E9?x?y?");
  EXPECT_EQ(a.GetAnsiString(1, 1), "\x80\xE9?x?y?");
  // Every byte round-trips through the 8-bit interface and widens through
  // Windows-1252.
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  a.SetAnsiString(0, 1, all);
  EXPECT_EQ(a.GetAnsiString(0, 1), all);
  EXPECT_EQ(a.GetString(0, 1), kyn::AnsiToString(all));
  a.SetString(1, 1, kyn::AnsiToString(all));
  EXPECT_EQ(a.GetAnsiString(1, 1), all);
}

// Pool layout: 255-character texts take 256 bytes; 127 of them leave a pool
// with first-free 32513.
TEST_F(StringArray, SlotReuseFirstFitAndNewPools) {
  ASSERT_TRUE(a.Resize(1, 300));
  a.SetString(1, 1, u"abcdefghij");                         // 11 bytes, first-free 12
  for (int r = 2; r <= 128; ++r) a.SetString(1, r, String(255, u'a'));  // first-free 32524
  a.SetString(1, 129, String(242, u'b'));                   // first-free 32767
  EXPECT_EQ(a.NumBuffers(), 1);
  a.SetString(1, 1, u"abc");  // fits its slot
  EXPECT_EQ(a.NumBuffers(), 1);
  a.SetString(1, 130, u"");  // pool 1 still takes the empty string (32768 - 32767 = 1 > 0)
  EXPECT_EQ(a.NumBuffers(), 1);
  a.SetString(1, 131, u"");  // now first-free is 32768: nothing fits
  EXPECT_EQ(a.NumBuffers(), 2);
  a.SetString(1, 1, u"abcde");  // the slot's capacity is 3 now
  EXPECT_EQ(a.NumBuffers(), 2);
  EXPECT_EQ(a.GetString(1, 1), u"abcde");
  EXPECT_EQ(a.GetString(1, 2), String(255, u'a'));
  EXPECT_EQ(a.GetString(1, 129), String(242, u'b'));

  // Garbage collection packs pool 1 in place; the 11 bytes abandoned there
  // become usable again, nothing moves between pools.
  const auto before = Column(1);
  a.SetString(0, 5, u"zero");  // column 0 too
  changes = 0;
  a.GarbageCollection();
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(a.NumBuffers(), 2);
  EXPECT_EQ(Column(1), before);
  EXPECT_EQ(a.GetString(0, 5), u"zero");
  // Packing freed the 11 bytes "abcdefghij" left in pool 1 (first-free
  // 32757 now), so a 10-character text goes there and pool 2 (first-free 13
  // after packing) still holds 127 texts of 255 and one of 242 exactly.
  a.SetString(1, 132, String(10, u'd'));
  for (int r = 133; r <= 259; ++r) a.SetString(1, r, String(255, u'c'));
  a.SetString(1, 260, String(242, u'e'));
  EXPECT_EQ(a.NumBuffers(), 2);
  a.SetString(1, 261, u"");
  EXPECT_EQ(a.NumBuffers(), 3);
  EXPECT_EQ(a.GetString(1, 132), String(10, u'd'));
  EXPECT_EQ(a.GetString(1, 260), String(242, u'e'));
}

TEST_F(StringArray, GarbageCollectionKeepsEveryCellAfterRewrites) {
  ASSERT_TRUE(a.Resize(4, 3000));
  for (int c = 0; c <= 4; ++c)
    for (int r = 1; r <= 3000; ++r) a.SetString(c, r, S(std::to_string(c * 7919 + r * 31) + "-text"));
  for (int c = 0; c <= 4; ++c)
    for (int r = 1; r <= 3000; r += 2) a.SetString(c, r, S("longer rewritten " + std::to_string(r * c)));
  a.Sort(2, 0, false);
  std::vector<std::vector<std::string>> before;
  for (int c = 0; c <= 4; ++c) before.push_back(Column(c));
  const int pools = a.NumBuffers();
  a.GarbageCollection();
  EXPECT_EQ(a.NumBuffers(), pools);
  for (int c = 0; c <= 4; ++c) EXPECT_EQ(Column(c), before[c]) << c;
  // Packed pools take new text without growing: the rewrites abandoned far
  // more than this.
  for (int r = 1; r <= 300; ++r) a.SetString(1, r, S("after gc " + std::to_string(r)));
  EXPECT_EQ(a.NumBuffers(), pools);
  a.GarbageCollection();  // twice in a row changes nothing
  EXPECT_EQ(a.GetString(1, 300), u"after gc 300");
  EXPECT_EQ(a.GetString(3, 2999), S(before[3][2998]));
}

TEST_F(StringArray, ClearKeepsOnePoolAndTheSize) {
  ASSERT_TRUE(a.Resize(3, 400));
  for (int r = 1; r <= 400; ++r) a.SetString(1, r, String(200, u'x'));
  a.SetRowAttrib(3, 7);
  a.SetColAttrib(2, 9);
  a.SetSortOrder(1, 2);
  a.SetSortOrder(2, 1);
  ASSERT_GT(a.NumBuffers(), 1);
  changes = 0;
  a.Clear();
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(a.NumBuffers(), 1);
  EXPECT_EQ(a.NrOfColumns(), 3);
  EXPECT_EQ(a.NrOfRows(), 400);
  EXPECT_EQ(a.GetSortOrder(1), 1);
  EXPECT_EQ(a.GetRowAttrib(3), 0);
  EXPECT_EQ(a.GetColAttrib(2), 0);
  EXPECT_TRUE(a.ColumnEmpty(1));
  a.SetString(1, 400, u"again");
  EXPECT_EQ(a.GetString(1, 400), u"again");
  EXPECT_EQ(a.NumBuffers(), 1);
}

TEST_F(StringArray, ResizeRules) {
  a.SetString(1, 1, u"keep");
  changes = 0;
  EXPECT_FALSE(a.Resize(0, 5));
  EXPECT_FALSE(a.Resize(5, 0));
  EXPECT_FALSE(a.Resize(-1, -1));
  EXPECT_TRUE(a.Resize(1, 1));
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(a.NrOfColumns(), 1);

  // Growing within the allocation (10 rows) after a shrink shows empty rows.
  ASSERT_TRUE(a.Resize(1, 8));
  FillColumn(1);
  for (int r = 1; r <= 8; ++r) a.SetRowAttrib(r, static_cast<uint8_t>(r));
  changes = 0;
  ASSERT_TRUE(a.Resize(1, 3));
  ASSERT_TRUE(a.Resize(1, 10));
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(a.GetString(1, 3), u"r3");
  for (int r = 4; r <= 10; ++r) {
    EXPECT_EQ(a.GetString(1, r), u"") << r;
    EXPECT_EQ(a.GetRowAttrib(r), 0) << r;
  }
  // Growing beyond the allocation and changing the column count keep what
  // both shapes share.
  a.SetString(0, 2, u"zero");
  a.SetColAttrib(1, 5);
  ASSERT_TRUE(a.Resize(3, 25));
  EXPECT_EQ(a.GetString(1, 3), u"r3");
  EXPECT_EQ(a.GetString(0, 2), u"zero");
  EXPECT_EQ(a.GetColAttrib(1), 5);
  EXPECT_EQ(a.GetRowAttrib(3), 3);
  EXPECT_EQ(a.GetString(3, 3), u"");
  // Shrinking the columns and rows by reallocation, then growing again.
  ASSERT_TRUE(a.Resize(1, 2));
  ASSERT_TRUE(a.Resize(2, 5));
  EXPECT_EQ(a.GetString(1, 2), u"r2");
  EXPECT_EQ(a.GetString(1, 3), u"");
  EXPECT_EQ(a.GetRowAttrib(3), 0);
  EXPECT_EQ(a.GetColAttrib(2), 0);

  // Properties go through Resize.
  a.SetNrOfColumns(4);
  a.SetNrOfRows(6);
  EXPECT_EQ(a.NrOfColumns(), 4);
  EXPECT_EQ(a.NrOfRows(), 6);
  a.SetNrOfRows(0);
  EXPECT_EQ(a.NrOfRows(), 6);
  EXPECT_EQ(a.AddRow(), 7);
}

TEST_F(StringArray, ResizeWithoutMemoryKeepsEverything) {
  FillColumn(1);
  changes = 0;
  EXPECT_FALSE(a.Resize(1, 2147483647));    // rows beyond the 32-bit allocation
  EXPECT_FALSE(a.Resize(100000, 1000000));  // far too many cells
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(a.NrOfColumns(), 1);
  EXPECT_EQ(a.NrOfRows(), 1);
  EXPECT_EQ(a.GetString(1, 1), u"r1");
}

TEST_F(StringArray, AllocRowsByBelowOneGrowsByOne) {
  for (int step : {0, -5, 1, 7}) {
    TStringArray b(nullptr);
    b.SetAllocRowsBy(step);
    EXPECT_EQ(b.AllocRowsBy(), step);
    ASSERT_TRUE(b.Resize(2, 23));
    for (int r = 1; r <= 23; ++r) b.SetString(2, r, S(std::to_string(r)));
    b.InsertRow(1);
    b.AddRow();
    EXPECT_EQ(b.NrOfRows(), 25);
    EXPECT_EQ(b.GetString(2, 2), u"1");
    EXPECT_EQ(b.GetString(2, 24), u"23");
    EXPECT_EQ(b.GetString(2, 25), u"");
  }
}

TEST_F(StringArray, Numbers) {
  struct Case {
    const char* text;
    double number;
    int32_t integer;
  };
  const Case cases[] = {
      {" 3,5 ", 3.5, 4},   {"", 0, 0},          {"   ", 0, 0},           {"2.5", 2.5, 2},
      {"3.5", 3.5, 4},     {"-2.5", -2.5, -2},  {"1e12", 1e12, 2147483647}, {"-1e12", -1e12, -2147483647},
      {"-2147483648", -2147483648.0, -2147483647}, {"+7", 7, 7}, {"5.", 5, 5}, {".5", 0.5, 0},
      {"1.5E-3", 1.5e-3, 0}, {"1e400", HUGE_VAL, 2147483647}, {"-1e400", -HUGE_VAL, -2147483647},
      {"1e-400", 0, 0},    {"0.00001e-400", 0, 0}, {"12,25e+1", 122.5, 122},
  };
  for (const Case& c : cases) {
    a.SetString(1, 1, S(c.text));
    EXPECT_EQ(a.GetAsNumber(1, 1), c.number) << c.text;
    EXPECT_EQ(a.GetAsInteger(1, 1), c.integer) << c.text;
  }
  EXPECT_EQ(a.AsNumber(2, 1), 0);  // out of range reads empty
  ASSERT_TRUE(a.Resize(2, 3));
  for (const char* bad : {"abc", "1e", "e5", ".", "-", "1.2.3", "3 4", "0x10", "1e+", "1,2,3", "nan", "inf"}) {
    a.SetString(2, 3, S(bad));
    try {
      (void)a.GetAsInteger(2, 3);
      ADD_FAILURE() << bad;
    } catch (const kyn::EKYNDStructError& e) {
      EXPECT_EQ(e.Message(), u"Class TStringArray: invalid numeric string: [2,3]: " + S(bad));
    }
  }
  a.SetString(2, 3, u" abc ");
  EXPECT_THROW((void)a.GetAsNumber(2, 3), kyn::EKYNError);
  try {
    (void)a.GetAsNumber(2, 3);
  } catch (const kyn::EKYNDStructError& e) {
    EXPECT_EQ(e.Message(), u"Class TStringArray: invalid numeric string: [2,3]:  abc ");
  }
}

TEST_F(StringArray, InsertAndRemoveRowsKeepTheViewOrder) {
  ASSERT_TRUE(a.Resize(2, 10));  // allocation full: inserting grows it
  const char* names[] = {"d", "b", "j", "a", "h", "c", "e", "g", "f", "i"};
  for (int r = 1; r <= 10; ++r) {
    a.SetString(1, r, S(names[r - 1]));
    a.SetString(0, r, S(std::to_string(r)));
    a.SetRowAttrib(r, static_cast<uint8_t>(r));
  }
  a.Sort(1, 0, true);
  EXPECT_EQ(Column(1), (std::vector<std::string>{"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"}));
  changes = 0;
  a.InsertRow(1);
  EXPECT_EQ(changes, 1 + 3 + 1);  // size, each cell of columns 0..2, the attribute
  EXPECT_EQ(Column(1), (std::vector<std::string>{"", "a", "b", "c", "d", "e", "f", "g", "h", "i", "j"}));
  EXPECT_EQ(a.GetRowAttrib(1), 0);
  EXPECT_EQ(a.GetRowAttrib(2), 4);  // "a" was stored row 4
  EXPECT_EQ(a.GetString(0, 2), u"4");
  a.InsertRow(6);
  EXPECT_EQ(Column(1), (std::vector<std::string>{"", "a", "b", "c", "d", "", "e", "f", "g", "h", "i", "j"}));
  a.SetString(1, 6, u"new");
  EXPECT_EQ(a.GetString(1, 5), u"d");
  EXPECT_EQ(a.GetString(1, 7), u"e");
  changes = 0;
  a.RemoveRow(1);
  EXPECT_EQ(changes, 1);
  a.RemoveRow(2);  // "b"
  EXPECT_EQ(Column(1), (std::vector<std::string>{"a", "c", "d", "new", "e", "f", "g", "h", "i", "j"}));
  EXPECT_EQ(a.GetRowAttrib(2), 6);  // "c" keeps its attribute
  // The index still is a permutation: committing keeps the view.
  a.CommitSorting();
  EXPECT_EQ(Column(1), (std::vector<std::string>{"a", "c", "d", "new", "e", "f", "g", "h", "i", "j"}));
  for (int r = 1; r <= 10; ++r) EXPECT_EQ(a.GetSortOrder(r), r);

  changes = 0;
  a.InsertRow(11);  // beyond N: append with AddRow instead
  a.InsertRow(0);
  a.RemoveRow(11);
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(a.NrOfRows(), 10);

  // One row: removing empties it.
  ASSERT_TRUE(a.Resize(2, 1));
  a.SetString(0, 1, u"x");
  a.SetString(2, 1, u"y");
  a.SetRowAttrib(1, 3);
  a.RemoveRow(1);
  EXPECT_EQ(a.NrOfRows(), 1);
  EXPECT_EQ(a.GetString(0, 1), u"");
  EXPECT_EQ(a.GetString(2, 1), u"");
  EXPECT_EQ(a.GetRowAttrib(1), 0);
}

TEST_F(StringArray, CopyFillAndBlankTests) {
  ASSERT_TRUE(a.Resize(2, 3));
  a.SetString(0, 1, u"zero");
  a.SetString(1, 1, u"one");
  a.SetRowAttrib(1, 42);
  changes = 0;
  a.CopyRow(1, 3);
  EXPECT_EQ(changes, 3 + 1);
  EXPECT_EQ(a.GetString(0, 3), u"zero");
  EXPECT_EQ(a.GetString(1, 3), u"one");
  EXPECT_EQ(a.GetRowAttrib(3), 42);
  a.CopyRow(1, 1);  // onto itself
  EXPECT_EQ(a.GetString(1, 1), u"one");
  changes = 0;
  a.CopyRow(1, 4);
  EXPECT_EQ(changes, 0);

  EXPECT_FALSE(a.RowEmpty(1));
  EXPECT_TRUE(a.RowEmpty(2));
  a.SetString(0, 2, u"only column 0");
  a.SetString(2, 2, u"   ");
  EXPECT_TRUE(a.RowEmpty(2));
  EXPECT_TRUE(a.ColumnEmpty(2));
  EXPECT_FALSE(a.ColumnEmpty(0));
  EXPECT_TRUE(a.ColumnEmpty(3));
  EXPECT_TRUE(a.RowEmpty(4));
  a.SetString(2, 2, u" . ");
  EXPECT_FALSE(a.ColumnEmpty(2));

  changes = 0;
  a.Fill(u"f");
  EXPECT_EQ(changes, 3 * 3);
  for (int c = 0; c <= 2; ++c)
    for (int r = 1; r <= 3; ++r) EXPECT_EQ(a.GetString(c, r), u"f");
  EXPECT_EQ(a.GetRowAttrib(1), 42);  // Fill writes text only
  changes = 0;
  a.Fill(u"");  // means Clear
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(a.GetString(1, 1), u"");
  EXPECT_EQ(a.GetRowAttrib(1), 0);
}

TEST_F(StringArray, Attributes) {
  ASSERT_TRUE(a.Resize(3, 4));
  changes = 0;
  a.SetRowAttrib(2, 200);
  a.SetColAttrib(3, 17);
  EXPECT_EQ(changes, 2);
  a.SetRowAttrib(5, 1);
  a.SetRowAttrib(0, 1);
  a.SetColAttrib(0, 1);
  a.SetColAttrib(4, 1);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(a.RowAttrib(2), 200);
  EXPECT_EQ(a.ColAttrib(3), 17);
  EXPECT_EQ(a.GetColAttrib(0), 0);
  EXPECT_EQ(a.GetRowAttrib(5), 0);
}

// A sort index that is no longer a permutation (SetSortOrder does not check)
// does not let any operation reach outside the storage.
TEST_F(StringArray, BrokenSortIndexStaysHarmless) {
  ASSERT_TRUE(a.Resize(1, 4));
  FillColumn(1);
  a.SetSortOrder(1, 4);
  a.SetSortOrder(2, 4);
  EXPECT_EQ(Column(1), (std::vector<std::string>{"r4", "r4", "r3", "r4"}));
  a.CommitSorting();  // not a permutation: nothing happens
  EXPECT_EQ(a.GetSortOrder(1), 4);
  a.RemoveRow(3);     // removes stored row 3
  a.RemoveRow(1);     // removes stored row 4; the other entries of 4 now point past the end
  EXPECT_EQ(a.NrOfRows(), 2);
  EXPECT_EQ(a.GetString(1, 1), u"");
  a.SetString(1, 1, u"ignored");
  a.GarbageCollection();
  a.Clear();
  ASSERT_TRUE(a.Resize(1, 5));
  EXPECT_TRUE(a.ColumnEmpty(1));
}

}  // namespace
