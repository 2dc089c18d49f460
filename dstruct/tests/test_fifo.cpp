// Byte FIFO and string accumulator.
#include <gtest/gtest.h>

#include <vector>

#include "kyn/dstruct.h"

using namespace kyn;

namespace {

// Takes every held byte.
std::vector<int> Drain(TFifo& f) {
  std::vector<int> out;
  uint8_t b = 0;
  while (f.GetByte(b)) out.push_back(b);
  return out;
}

}  // namespace

TEST(Fifo, HoldsSizeMinusOneAndForceDropsTheOldest) {
  TFifo f(nullptr);
  ASSERT_EQ(f.Size(), 256);
  EXPECT_EQ(f.CountBytes(), 0);
  for (int i = 0; i < 255; ++i) ASSERT_TRUE(f.PutByte(static_cast<uint8_t>(i)));
  EXPECT_FALSE(f.PutByte(255));
  EXPECT_EQ(f.CountBytes(), 255);
  EXPECT_TRUE(f.ForceByte(255));
  EXPECT_EQ(f.CountBytes(), 255);
  const std::vector<int> got = Drain(f);
  ASSERT_EQ(got.size(), 255u);
  EXPECT_EQ(got.front(), 1);
  EXPECT_EQ(got.back(), 255);
  EXPECT_FALSE(f.ForceByte(7));  // not full: nothing dropped
  EXPECT_EQ(Drain(f), std::vector<int>{7});
}

TEST(Fifo, LoadBackPutsInFrontUnlessFull) {
  TFifo f(nullptr);
  f.SetSize(4);
  f.PutByte(1);
  f.PutByte(2);
  EXPECT_TRUE(f.LoadBack(9));  // the read position steps back below 0
  EXPECT_FALSE(f.LoadBack(8));  // now full
  EXPECT_EQ(f.CountBytes(), 3);
  EXPECT_EQ(Drain(f), (std::vector<int>{9, 1, 2}));
  EXPECT_TRUE(f.LoadBack(5));  // on an empty FIFO
  EXPECT_EQ(Drain(f), std::vector<int>{5});
}

TEST(Fifo, SenseByteReadsWithoutRemoving) {
  TFifo f(nullptr);
  f.SetSize(5);
  // Move the positions so that the held bytes wrap around the end.
  for (int i = 0; i < 3; ++i) {
    f.PutByte(0);
    uint8_t b;
    f.GetByte(b);
  }
  for (uint8_t v : {10, 11, 12, 13}) ASSERT_TRUE(f.PutByte(v));
  uint8_t b = 0;
  for (int i = 0; i < 4; ++i) {
    ASSERT_TRUE(f.SenseByte(i, b));
    EXPECT_EQ(b, 10 + i);
  }
  b = 77;
  EXPECT_FALSE(f.SenseByte(f.CountBytes(), b));
  EXPECT_FALSE(f.SenseByte(-1, b));
  EXPECT_EQ(b, 77);
  EXPECT_EQ(f.CountBytes(), 4);
}

TEST(Fifo, SizeOneIsAlwaysFull) {
  TFifo f(nullptr);
  f.SetSize(1);
  EXPECT_FALSE(f.PutByte(1));
  EXPECT_FALSE(f.LoadBack(1));
  EXPECT_TRUE(f.ForceByte(1));
  EXPECT_EQ(f.CountBytes(), 0);
  uint8_t b;
  EXPECT_FALSE(f.GetByte(b));
}

TEST(Fifo, ClearEmpties) {
  TFifo f(nullptr);
  f.PutByte(1);
  f.PutByte(2);
  f.Clear();
  EXPECT_EQ(f.CountBytes(), 0);
  uint8_t b;
  EXPECT_FALSE(f.GetByte(b));
}

TEST(Fifo, SizeChangeKeepsTheNewestBytesInOrder) {
  struct Case {
    int newSize;
    std::vector<int> expected;
  };
  const Case cases[] = {
      {3, {14, 15}},                      // shrink below the held count: oldest dropped
      {6, {11, 12, 13, 14, 15}},          // exactly fits
      {20, {10, 11, 12, 13, 14, 15}},     // grow
      {0, {10, 11, 12, 13, 14, 15}},      // ignored
  };
  for (const Case& c : cases) {
    TFifo f(nullptr);
    f.SetSize(8);
    for (int i = 0; i < 5; ++i) {  // wrap the positions around
      f.PutByte(0);
      uint8_t b;
      f.GetByte(b);
    }
    for (int v = 10; v <= 15; ++v) ASSERT_TRUE(f.PutByte(static_cast<uint8_t>(v)));
    f.SetSize(c.newSize);
    EXPECT_EQ(f.CountBytes(), static_cast<int>(c.expected.size())) << c.newSize;
    EXPECT_EQ(Drain(f), c.expected) << c.newSize;
    // The positions lie inside the storage: the FIFO fills to Size - 1.
    int put = 0;
    while (f.PutByte(1)) ++put;
    EXPECT_EQ(put, f.Size() - 1) << c.newSize;
  }
}

TEST(Fifo, ShrinkBelowTheOldPositionsWhenEmpty) {
  TFifo f(nullptr);
  for (int i = 0; i < 200; ++i) {
    f.PutByte(1);
    uint8_t b;
    f.GetByte(b);
  }
  f.SetSize(10);
  EXPECT_EQ(f.CountBytes(), 0);
  for (int i = 0; i < 9; ++i) EXPECT_TRUE(f.PutByte(static_cast<uint8_t>(i)));
  EXPECT_FALSE(f.PutByte(9));
  EXPECT_EQ(Drain(f), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(StringAccu, CountsExactStrings) {
  TStringAccu a(nullptr);
  EXPECT_EQ(a.Size(), 0);
  a.Add(u"abc");
  a.Add(u"ABC");
  a.Add(u"abc");
  a.Add(u"");
  EXPECT_EQ(a.Size(), 3);
  EXPECT_EQ(a.Elem(1), u"abc");
  EXPECT_EQ(a.Elem(2), u"ABC");
  EXPECT_EQ(a.Count(1), 2);
  EXPECT_EQ(a.Count(2), 1);
  EXPECT_EQ(a.Count(3), 1);
  EXPECT_EQ(a.Elem(0), u"");
  EXPECT_EQ(a.Elem(4), u"");
  EXPECT_EQ(a.Count(4), 0);
  EXPECT_EQ(a.GetCount(-1), 0);
  a.Clear();
  EXPECT_EQ(a.Size(), 0);
  EXPECT_EQ(a.Count(1), 0);
  a.Add(u"x");
  EXPECT_EQ(a.GetString(1), u"x");
}
