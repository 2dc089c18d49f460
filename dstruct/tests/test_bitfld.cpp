// Bit field and byte matrix.
#include <gtest/gtest.h>

#include <vector>

#include "kyn/dstruct.h"
#include "kyn/platform/random.h"

using namespace kyn;

namespace {

void SetBits(TBitFld& f, const std::vector<int>& bits) {
  for (int b : bits) f.SetBit(b, true);
}

}  // namespace

TEST(BitFld, NewFieldHasSize1000AndBitsUpToIt) {
  TBitFld f(nullptr);
  EXPECT_EQ(f.Size(), 1000);
  EXPECT_EQ(f.Storage().size(), 127u);
  EXPECT_EQ(f.CountTrueBits(), 0);
  f.SetBit(1000, true);
  f.SetBit(1001, true);
  f.SetBit(-1, true);
  EXPECT_TRUE(f.GetBit(1000));
  EXPECT_TRUE(f[1000]);
  EXPECT_FALSE(f.GetBit(1001));
  EXPECT_FALSE(f.GetBit(-1));
  EXPECT_EQ(f.CountTrueBits(), 1);
  f.ToggleBit(1000);
  f.ToggleBit(1001);
  EXPECT_EQ(f.CountTrueBits(), 0);
}

TEST(BitFld, InvertReachesBitsAboveSizeInLastByteOnly) {
  TBitFld f(nullptr);
  f.SetSize(10);
  f.Clear();
  f.Invert();
  EXPECT_EQ(f.CountTrueBits(), 11);
  EXPECT_EQ(f.FirstTrueBit(), 0);
  EXPECT_EQ(f.Storage()[1], 0xFF);  // bits 8..15, 11..15 above Size
  EXPECT_EQ(f.Storage()[2], 0x00);  // the spare byte is not touched
  f.SetSize(20);
  for (int i = 0; i <= 20; ++i) EXPECT_EQ(f.GetBit(i), i <= 15) << i;
}

TEST(BitFld, SetSizeIgnoresNonPositiveAndKeepsBytes) {
  TBitFld f(nullptr);
  f.SetSize(20);
  SetBits(f, {3, 20});
  f.SetSize(0);
  f.SetSize(-4);
  EXPECT_EQ(f.Size(), 20);
  f.SetSize(5);
  EXPECT_EQ(f.Storage().size(), 2u);
  EXPECT_EQ(f.CountTrueBits(), 1);
  f.SetSize(20);  // the byte holding bit 20 was released and comes back as 0
  EXPECT_TRUE(f.GetBit(3));
  EXPECT_FALSE(f.GetBit(20));
}

TEST(BitFld, FirstTrueBitAndCountAtTheTopBit) {
  for (int size : {1, 7, 8, 9, 15, 16, 17, 1000}) {
    TBitFld f(nullptr);
    f.SetSize(size);
    EXPECT_EQ(f.FirstTrueBit(), -1) << size;
    f.SetBit(size, true);
    EXPECT_EQ(f.FirstTrueBit(), size) << size;
    EXPECT_EQ(f.CountTrueBits(), 1) << size;
    // Bits above Size do not count and are not found.
    f.Clear();
    f.Invert();
    f.SetBit(size, false);
    for (int i = 0; i < size; ++i) f.SetBit(i, false);
    EXPECT_EQ(f.CountTrueBits(), 0) << size;
    EXPECT_EQ(f.FirstTrueBit(), -1) << size;
  }
}

TEST(BitFld, MakeListOfBits) {
  TBitFld f(nullptr);
  f.SetSize(3);
  TIntArray list{99};
  f.MakeListOfBits(list, false);
  EXPECT_EQ(list, (TIntArray{0, 1, 2, 3}));
  f.MakeListOfBits(list, true);
  EXPECT_TRUE(list.empty());
  f.SetSize(17);
  SetBits(f, {0, 9, 17});
  f.MakeListOfBits(list, true);
  EXPECT_EQ(list, (TIntArray{0, 9, 17}));
}

TEST(BitFld, RandomFillLeavesExactlyNTrueBits) {
  struct Case {
    int size;
    double percent;
    int expected;
  };
  const Case cases[] = {
      {1000, 30.0, 300}, {6, 25.0, 2} /* 1.5 -> 2 */, {1000, 70.0, 700}, {1000, 100.0, 1000}, {1000, 0.0, 0},
      {1000, -5.0, 0},   {1000, 250.0, 1000}, {10, 25.0, 2},      // 2.5 -> 2
      {10, 15.0, 1},     // 0.01 is inexact: just below 1.5
      {1, 50.0, 0},      // 0.5 -> 0
      {7, 60.0, 4},      // 4.2 -> 4, the setting-all branch
  };
  for (const Case& c : cases) {
    TBitFld f(nullptr);
    f.SetSize(c.size);
    f.RandomFill(c.percent);
    EXPECT_EQ(f.CountTrueBits(), c.expected) << c.size << " " << c.percent;
  }
  const std::pair<int, int> nbits[] = {{0, 0}, {-3, 0}, {1, 1}, {500, 500}, {501, 501},
                                       {999, 999}, {1000, 1000}, {5000, 1000}};
  for (auto [n, expected] : nbits) {
    TBitFld f(nullptr);
    f.RandomFill(n);
    EXPECT_EQ(f.CountTrueBits(), expected) << n;
  }
}

TEST(BitFld, RandomFillFollowsTheSeedAndReachesEveryIndex) {
  TBitFld a(nullptr), b(nullptr);
  RandSeed(42);
  a.RandomFill(300);
  RandSeed(42);
  b.RandomFill(300);
  EXPECT_EQ(a.Storage(), b.Storage());
  // Every index 0..Size is drawn, 0 and Size included.
  TBitFld c(nullptr);
  c.SetSize(4);
  std::vector<int> seen(5, 0);
  for (int k = 0; k < 200; ++k) {
    c.RandomFill(1);
    ASSERT_EQ(c.CountTrueBits(), 1);
    ++seen[static_cast<size_t>(c.FirstTrueBit())];
  }
  for (int i = 0; i <= 4; ++i) EXPECT_GT(seen[static_cast<size_t>(i)], 0) << i;
}

TEST(BitFld, CombineWithAllOperations) {
  struct Case {
    TLogicOp op;
    uint8_t expected;
  };
  const Case cases[] = {{loAND, 0x88}, {loOR, 0xEE},    {loXOR, 0x66},
                        {loANDNot, 0x44}, {loORNot, 0xDD}, {loXORNot, 0x99}};
  for (const Case& c : cases) {
    TBitFld a(nullptr), b(nullptr);
    a.SetSize(7);
    b.SetSize(7);
    for (int i = 0; i < 8; ++i) {
      a.SetBit(i, (0xCC >> i) & 1);
      b.SetBit(i, (0xAA >> i) & 1);
    }
    a.CombineWith(&b, c.op);
    EXPECT_EQ(a.Storage()[0], c.expected) << int(c.op);
    EXPECT_EQ(a.Storage()[1], 0x00) << "spare byte, op " << int(c.op);
  }
}

TEST(BitFld, CombineWithDifferentSizeOrNothingChangesNothing) {
  TBitFld a(nullptr), b(nullptr);
  a.SetSize(20);
  b.SetSize(21);
  SetBits(a, {1, 2});
  SetBits(b, {1, 2});
  a.CombineWith(&b, loANDNot);
  a.CombineWith(nullptr, loANDNot);
  EXPECT_EQ(a.CountTrueBits(), 2);
  b.SetSize(20);
  a.CombineWith(&b, loANDNot);
  EXPECT_EQ(a.CountTrueBits(), 0);
}

TEST(BitFld, CloneAssignAndAssignToCopyAllStorage) {
  TBitFld src(nullptr);
  src.SetSize(12);
  src.Invert();  // bits 12..15 above Size are set too
  TBitFld viaClone(nullptr), viaAssign(nullptr), viaAssignTo(nullptr);
  viaClone.Clone(&src);
  viaAssign.Assign(&src);
  src.AssignTo(&viaAssignTo);
  for (const TBitFld* f : {&viaClone, &viaAssign, &viaAssignTo}) {
    EXPECT_EQ(f->Size(), 12);
    EXPECT_EQ(f->Storage(), src.Storage());
  }
  viaClone.Clone(nullptr);
  EXPECT_EQ(viaClone.Size(), 12);
  TByteMatrix m(nullptr);
  EXPECT_THROW(viaClone.Assign(&m), EConvertError);
  EXPECT_THROW(viaClone.AssignTo(&m), EConvertError);
  EXPECT_THROW(viaClone.Assign(nullptr), EConvertError);
}

TEST(BitFld, OwnedByItsOwner) {
  TComponent owner(nullptr);
  auto* f = new TBitFld(&owner);
  f->SetName(u"Bits");
  EXPECT_EQ(owner.ComponentCount(), 1);
  EXPECT_EQ(owner.Components(0), f);
}

// ---------------------------------------------------------------- byte matrix

namespace {

struct MatrixFixture : ::testing::Test {
  MatrixFixture() {
    m.SetOnChange([this](TObject* sender) {
      lastSender = sender;
      ++changes;
    });
  }
  // Fills the matrix with 10 * column + row.
  void Number() {
    for (int c = 1; c <= m.NrOfColumns(); ++c)
      for (int r = 1; r <= m.NrOfRows(); ++r) m.SetByte(c, r, static_cast<uint8_t>(10 * c + r));
    changes = 0;
  }
  TByteMatrix m{nullptr};
  int changes = 0;
  TObject* lastSender = nullptr;
};

}  // namespace

TEST_F(MatrixFixture, ResizeRules) {
  EXPECT_EQ(m.NrOfColumns(), 1);
  EXPECT_EQ(m.NrOfRows(), 1);
  EXPECT_EQ(m.GetByte(1, 1), 0);
  EXPECT_FALSE(m.Resize(1, 1));
  EXPECT_FALSE(m.Resize(0, 3));
  EXPECT_FALSE(m.Resize(3, -1));
  EXPECT_EQ(changes, 0);
  EXPECT_TRUE(m.Resize(2, 3));
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(lastSender, &m);
  m.SetNrOfColumns(0);
  EXPECT_EQ(m.NrOfColumns(), 1);
  EXPECT_EQ(m.NrOfRows(), 3);
  m.SetNrOfRows(-7);
  EXPECT_EQ(m.NrOfRows(), 1);
}

TEST_F(MatrixFixture, ResizeKeepsOverlapAndZeroesNewBytes) {
  m.Resize(3, 3);
  Number();
  ASSERT_TRUE(m.Resize(2, 4));
  for (int c = 1; c <= 2; ++c) {
    for (int r = 1; r <= 3; ++r) EXPECT_EQ(m.GetByte(c, r), 10 * c + r);
    EXPECT_EQ(m.GetByte(c, 4), 0);
  }
  EXPECT_EQ(m.GetByte(3, 1), 0);  // out of range now
}

TEST_F(MatrixFixture, SettersFireInRangeOnly) {
  m.Resize(2, 2);
  changes = 0;
  m.SetByte(1, 1, 0);  // same value still fires
  m.SetBit(2, 2, 7, true);
  m.ToggleBit(2, 1, 0);
  EXPECT_EQ(changes, 3);
  m.SetByte(3, 1, 5);
  m.SetByte(1, 0, 5);
  m.SetBit(1, 1, 8, true);
  m.SetBit(1, 1, -1, true);
  m.ToggleBit(0, 1, 0);
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(m.GetByte(2, 2), 0x80);
  EXPECT_TRUE(m.GetBit(2, 2, 7));
  EXPECT_FALSE(m.GetBit(2, 2, 8));
  EXPECT_EQ(m.GetByte(2, 1), 0x01);
  EXPECT_EQ(m.GetByte(0, 0), 0);
  m.Fill(0x5A);
  EXPECT_EQ(changes, 4);
  EXPECT_EQ(m.GetByte(1, 2), 0x5A);
  m.SetBit(1, 2, 1, false);
  EXPECT_EQ(m.GetByte(1, 2), 0x58);
}

TEST_F(MatrixFixture, Mirrors) {
  m.Resize(4, 3);
  Number();
  m.MirrorRows();
  EXPECT_EQ(changes, 1);
  for (int c = 1; c <= 4; ++c)
    for (int r = 1; r <= 3; ++r) EXPECT_EQ(m.GetByte(c, r), 10 * c + (4 - r));
  m.MirrorRows();
  m.MirrorColumns();
  EXPECT_EQ(changes, 3);
  for (int c = 1; c <= 4; ++c)
    for (int r = 1; r <= 3; ++r) EXPECT_EQ(m.GetByte(c, r), 10 * (5 - c) + r);
}

TEST_F(MatrixFixture, CombineWithDoesNotFire) {
  m.Resize(2, 2);
  m.Fill(0xCC);
  changes = 0;
  TByteMatrix other(nullptr);
  other.Resize(2, 2);
  other.Fill(0xAA);
  m.CombineWith(&other, loXORNot);
  EXPECT_EQ(m.GetByte(2, 2), 0x99);
  EXPECT_EQ(changes, 0);
  other.Resize(2, 3);
  m.CombineWith(&other, loAND);
  EXPECT_EQ(m.GetByte(1, 1), 0x99);
}

TEST_F(MatrixFixture, AssignCopiesBytesAndHandlerWithoutFiring) {
  m.Resize(3, 2);
  Number();
  TByteMatrix copy(nullptr);
  copy.Assign(&m);
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(copy.NrOfColumns(), 3);
  EXPECT_EQ(copy.NrOfRows(), 2);
  EXPECT_EQ(copy.GetByte(3, 2), 32);
  TByteMatrix viaAssignTo(nullptr);
  m.AssignTo(&viaAssignTo);
  EXPECT_EQ(viaAssignTo.GetByte(2, 1), 21);
  // The handler came along and reports the copy as the sender.
  copy.SetByte(1, 1, 5);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(lastSender, &copy);
  TBitFld f(nullptr);
  EXPECT_THROW(m.Assign(&f), EConvertError);
}
