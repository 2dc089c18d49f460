// Run-length encoder and decoder.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "kyn/dstruct.h"

using namespace kyn;

namespace {

// Encodes in portions of `portion` bytes, taking every block, then finishes.
TBytes EncodeAll(const TBytes& in, int bufLeng = 256, size_t portion = 1000) {
  TRLEncoder e(nullptr);
  e.SetBufLeng(bufLeng);
  TBytes out, block;
  for (size_t pos = 0; pos < in.size(); pos += portion) {
    const size_t n = std::min(portion, in.size() - pos);
    if (e.Encode(std::span<const uint8_t>(in.data() + pos, n)))
      while (e.GetResult(block)) out.insert(out.end(), block.begin(), block.begin() + bufLeng);
  }
  int32_t got;
  do {
    got = e.Finish(block);
    out.insert(out.end(), block.begin(), block.begin() + got);
  } while (got == bufLeng);
  return out;
}

TBytes DecodeAll(const TBytes& in, int bufLeng = 256, TDecodeSt* endState = nullptr) {
  TRLEncoder e(nullptr);
  e.SetBufLeng(bufLeng);
  TBytes out, block;
  for (uint8_t b : in)
    if (e.Decode(b))
      while (e.GetResult(block)) out.insert(out.end(), block.begin(), block.begin() + bufLeng);
  int32_t got;
  while ((got = e.FinishDecode(block)) > 0) out.insert(out.end(), block.begin(), block.begin() + got);
  if (endState) *endState = e.DecodeState();
  return out;
}

TBytes Repeat(uint8_t v, size_t n) { return TBytes(n, v); }

TBytes Cat(std::initializer_list<TBytes> parts) {
  TBytes r;
  for (const TBytes& p : parts) r.insert(r.end(), p.begin(), p.end());
  return r;
}

}  // namespace

TEST(RLEncoder, CodedForms) {
  struct Case {
    const char* what;
    TBytes in, coded;
  };
  const Case cases[] = {
      {"run of four", {0x41, 0x41, 0x41, 0x41, 0x42}, {0xA5, 4, 0x41, 0xA5, 1, 0x42}},
      {"singles", {0x41, 0x42, 0x41}, {0x41, 0x42, 0xA5, 1, 0x41}},
      {"lead-in byte alone", {0xA5, 0x41}, {0xA5, 1, 0xA5, 0xA5, 1, 0x41}},
      {"lead-in pair", {0xA5, 0xA5, 0x41}, {0xA5, 2, 0xA5, 0xA5, 1, 0x41}},
      {"pair then other", {0x41, 0x41, 0x42}, {0x41, 0x41, 0xA5, 1, 0x42}},
      {"pair at the end", {0x41, 0x41}, {0xA5, 2, 0x41}},
      {"nothing", {}, {0xA5, 0, 0}},
      {"300 zeros", Repeat(0, 300), {0xA5, 0xFF, 0, 0xA5, 45, 0}},
      {"255 then one more", Cat({Repeat(7, 255), {7, 8}}), {0xA5, 0xFF, 7, 7, 0xA5, 1, 8}},
      {"exactly 255", Repeat(7, 255), {0xA5, 0xFF, 7, 0xA5, 0, 7}},
      {"510 lead-ins", Repeat(0xA5, 510), {0xA5, 0xFF, 0xA5, 0xA5, 0xFF, 0xA5, 0xA5, 0, 0xA5}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EncodeAll(c.in), c.coded) << c.what;
    EXPECT_EQ(DecodeAll(c.coded), c.in) << c.what;
  }
}

TEST(RLEncoder, OutputWaitsUntilTheRunCloses) {
  TRLEncoder e(nullptr);
  const TBytes in{0xA5, 0x41};
  EXPECT_FALSE(e.Encode(in, 2));
  EXPECT_EQ(e.BytesWaiting(), 3);  // A5 01 A5; 41 is still pending
  TBytes block;
  EXPECT_EQ(e.Finish(block), 6);
  EXPECT_EQ(TBytes(block.begin(), block.begin() + 6), (TBytes{0xA5, 1, 0xA5, 0xA5, 1, 0x41}));
}

TEST(RLEncoder, FinishAfterResetDecodesToNothing) {
  TRLEncoder e(nullptr);
  e.Encode(TBytes{1, 2, 3}, 3);
  e.Reset();
  TBytes block;
  ASSERT_EQ(e.Finish(block), 3);
  EXPECT_EQ(TBytes(block.begin(), block.begin() + 3), (TBytes{0xA5, 0, 0}));
  EXPECT_TRUE(DecodeAll({0xA5, 0, 0}).empty());
  EXPECT_TRUE(DecodeAll({0xA5, 0, 0x41, 0xA5, 0, 0xA5}).empty());
}

TEST(RLEncoder, BlocksOfBufLeng) {
  TRLEncoder e(nullptr);
  e.SetBufLeng(4);
  const TBytes in{1, 2, 3, 4, 5};
  EXPECT_FALSE(e.Encode(in, 4));  // three literals wait, the fourth is pending
  TBytes block{9, 9, 9, 9};
  EXPECT_FALSE(e.GetResult(block));
  EXPECT_EQ(block, (TBytes{9, 9, 9, 9}));  // untouched
  EXPECT_TRUE(e.Encode(TBytes{5}, 1));
  EXPECT_TRUE(e.GetResult(block));
  EXPECT_EQ(block, (TBytes{1, 2, 3, 4}));
  EXPECT_EQ(e.BytesWaiting(), 0);
  EXPECT_EQ(e.Finish(block), 3);  // the pending 5
  EXPECT_EQ(TBytes(block.begin(), block.begin() + 3), (TBytes{0xA5, 1, 5}));
}

TEST(RLEncoder, EncodeClampsTheCount) {
  TRLEncoder e(nullptr);
  const TBytes in{1, 2};
  e.Encode(in, -5);
  e.Encode(in, 100);  // only the two bytes there are
  TBytes block;
  ASSERT_EQ(e.Finish(block), 4);
  EXPECT_EQ(TBytes(block.begin(), block.begin() + 4), (TBytes{1, 0xA5, 1, 2}));
}

TEST(RLEncoder, FinishHandsOutTheRestInBlocksAndRunsDry) {
  // Nine bytes wait at Finish with BufLeng 4: blocks of 4, 4, then 1. Later
  // calls add nothing, so even BufLeng 1..3 come to an end.
  for (int bufLeng = 1; bufLeng <= 5; ++bufLeng) {
    TRLEncoder e(nullptr);
    e.SetBufLeng(bufLeng);
    e.Encode(TBytes{1, 2, 3, 4, 5, 6, 7}, 7);  // 6 literals wait, 7 pending
    TBytes all, block;
    while (e.GetResult(block)) all.insert(all.end(), block.begin(), block.begin() + bufLeng);
    int32_t got;
    int calls = 0;
    while ((got = e.Finish(block)) > 0) {
      all.insert(all.end(), block.begin(), block.begin() + got);
      ASSERT_LT(++calls, 20) << bufLeng;
    }
    EXPECT_EQ(all, (TBytes{1, 2, 3, 4, 5, 6, 0xA5, 1, 7})) << bufLeng;
  }
}

TEST(RLEncoder, DecodeWithSmallBufLengAndFinishDecode) {
  // A run of 255 with BufLeng 1 waits far beyond 4 * BufLeng: the work buffer
  // grows instead of being overrun.
  TRLEncoder e(nullptr);
  e.SetBufLeng(1);
  EXPECT_FALSE(e.Decode(0xA5));
  EXPECT_FALSE(e.Decode(0xFF));
  EXPECT_TRUE(e.Decode(0x33));
  EXPECT_EQ(e.BytesWaiting(), 255);
  TBytes block;
  int blocks = 0;
  while (e.GetResult(block)) {
    ASSERT_EQ(block[0], 0x33);
    ++blocks;
  }
  EXPECT_EQ(blocks, 255);

  // A last block shorter than BufLeng comes out through FinishDecode.
  e.SetBufLeng(10);
  e.Reset();
  e.Decode(std::span<const uint8_t>(TBytes{1, 2, 0xA5, 3, 9}));
  EXPECT_FALSE(e.GetResult(block));
  ASSERT_EQ(e.FinishDecode(block), 5);
  EXPECT_EQ(TBytes(block.begin(), block.begin() + 5), (TBytes{1, 2, 9, 9, 9}));
  EXPECT_EQ(e.FinishDecode(block), 0);
}

TEST(RLEncoder, DecodeStateTellsOfATruncatedItem) {
  TDecodeSt st = rlCnt;
  EXPECT_EQ(DecodeAll({1, 0xA5, 5, 2}, 256, &st), (TBytes{1, 2, 2, 2, 2, 2}));
  EXPECT_EQ(st, rlData);
  EXPECT_EQ(DecodeAll({1, 0xA5}, 256, &st), TBytes{1});
  EXPECT_EQ(st, rlLeadin);
  EXPECT_EQ(DecodeAll({1, 0xA5, 5}, 256, &st), TBytes{1});
  EXPECT_EQ(st, rlCnt);
}

TEST(RLEncoder, UntakenOutputGrowsTheBuffer) {
  // 10000 alternating bytes in one portion with BufLeng 2: far more than the
  // 8 bytes of the initial work buffer, none of it taken until the end.
  TBytes in(10000);
  for (size_t i = 0; i < in.size(); ++i) in[i] = static_cast<uint8_t>(i % 2 ? 0xA5 : 0x10);
  EXPECT_EQ(DecodeAll(EncodeAll(in, 2, in.size()), 3), in);
}

TEST(RLEncoder, BufLengChanges) {
  TRLEncoder e(nullptr);
  EXPECT_EQ(e.BufLeng(), 256);
  e.SetBufLeng(0);
  e.SetBufLeng(-3);
  EXPECT_EQ(e.BufLeng(), 256);
  // Waiting output survives a change of BufLeng.
  e.Encode(TBytes{1, 2, 3, 4, 5, 6}, 6);
  e.SetBufLeng(2);
  TBytes block;
  ASSERT_TRUE(e.GetResult(block));
  EXPECT_EQ(TBytes(block.begin(), block.begin() + 2), (TBytes{1, 2}));
  ASSERT_TRUE(e.GetResult(block));
  EXPECT_EQ(TBytes(block.begin(), block.begin() + 2), (TBytes{3, 4}));
}

TEST(RLEncoder, RoundTripsRandomDataInAnyBlocking) {
  std::mt19937 rng(7);
  for (int round = 0; round < 40; ++round) {
    TBytes in(rng() % 3000);
    // Mostly short runs of a few values, the lead-in byte among them.
    for (size_t i = 0; i < in.size();) {
      const uint8_t v = static_cast<uint8_t>(0xA3 + rng() % 4);
      for (size_t k = rng() % (rng() % 8 == 0 ? 600 : 4) + 1; k > 0 && i < in.size(); --k) in[i++] = v;
    }
    const int bufLeng = static_cast<int>(rng() % 300) + 1;
    const size_t portion = rng() % 500 + 1;
    const TBytes coded = EncodeAll(in, bufLeng, portion);
    EXPECT_EQ(DecodeAll(coded, static_cast<int>(rng() % 300) + 1), in) << round;
  }
}
