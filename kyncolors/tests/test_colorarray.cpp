// The colour array: construction, sizing, filling, searching, copying,
// assignment, change notifications and the colour file format.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "kyn/kyncolors/colorarray.h"
#include "kyn/kyncolors/colors.h"
#include "kyn/kynbase/errors.h"

using namespace kyn;
namespace fs = std::filesystem;

namespace {

// A colour array with a change counter and a scratch folder.
class ColorArrayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ca.SetName(u"ca");
    ca.SetOnChange([this](TObject* sender) {
      EXPECT_EQ(sender, &ca);
      ++changes;
    });
    dir = fs::temp_directory_path() /
          ("kyn-colorarray-" + std::to_string(getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  String Path(const std::string& name) const { return Utf8ToString((dir / name).string()); }
  void WriteFile(const std::string& name, const std::string& bytes) const {
    std::ofstream(dir / name, std::ios::binary) << bytes;
  }
  std::string ReadFile(const std::string& name) const {
    std::ifstream in(dir / name, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  // Small array 1..n with element i = i (hex 00000i..).
  void Numbered(int32_t n) {
    ca.SetSize(n);
    for (int32_t i = 1; i <= n; ++i) ca.SetColorElem(i, static_cast<TColor>(i));
    changes = 0;
  }

  TColorArray ca{nullptr};
  int changes = 0;
  fs::path dir;
};

TEST_F(ColorArrayTest, ConstructedWithThousandRainbowColours) {
  TColorArray a(nullptr);
  EXPECT_EQ(a.Size(), 1000);
  EXPECT_EQ(a.GetColorElem(1000), 0x000040u);
  EXPECT_EQ(a.GetColorElem(1), InterpolateColor(ColorArray_Rainbow[0], ColorArray_Rainbow[1], 0.01));
  EXPECT_EQ(a.ClassName(), u"TColorArray");
}

TEST_F(ColorArrayTest, OwnerDestroysTheArray) {
  auto* owner = new TComponent(nullptr);
  auto* a = new TColorArray(owner);
  EXPECT_EQ(owner->ComponentCount(), 1);
  EXPECT_EQ(owner->Components(0), a);
  delete owner;  // deletes a; leak checkers catch the opposite
}

TEST_F(ColorArrayTest, ElementAccessClampsAndIgnores) {
  Numbered(5);
  EXPECT_EQ(ca.GetColorElem(0), 1u);
  EXPECT_EQ(ca.GetColorElem(-100), 1u);
  EXPECT_EQ(ca.GetColorElem(15), 5u);
  ca.SetColorElem(0, 99);
  ca.SetColorElem(6, 99);
  EXPECT_EQ(changes, 0);
  ca.SetColorElem(5, 99);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(ca.GetColorElem(5), 99u);
}

TEST_F(ColorArrayTest, SizingKeepsColoursAndNotifiesOnlyOnChange) {
  Numbered(4);
  ca.SetSize(0);
  ca.SetSize(-5);
  ca.SetSize(4);
  EXPECT_EQ(ca.Size(), 4);
  EXPECT_EQ(changes, 0);
  EXPECT_FALSE(ca.Resize(0));
  EXPECT_FALSE(ca.Resize(-1));
  EXPECT_TRUE(ca.Resize(4));
  EXPECT_EQ(changes, 0);

  ca.SetSize(6);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(ca.Size(), 6);
  EXPECT_EQ(ca.GetColorElem(4), 4u);
  EXPECT_EQ(ca.GetColorElem(5), 0u);
  EXPECT_EQ(ca.GetColorElem(6), 0u);
  EXPECT_TRUE(ca.Resize(2));
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(ca.GetColorElem(3), 2u);  // clamped to the new end
}

TEST_F(ColorArrayTest, ResizeReportsAFailingCallbackAsMemoryError) {
  ca.SetOnChange([](TObject*) { throw std::runtime_error("handler failed"); });
  try {
    ca.SetSize(20);
    FAIL() << "no exception";
  } catch (const EKYNColArrayError& e) {
    EXPECT_EQ(e.Message(), u"Component \"ca\": not enough memory");
  }
}

TEST_F(ColorArrayTest, FillMirrorInvert) {
  ca.SetSize(3);
  ca.Fill(0x123456);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(ca.GetColorElem(2), 0x123456u);
  for (int32_t n : {4, 5}) {
    Numbered(n);
    ca.MirrorColors();
    for (int32_t i = 1; i <= n; ++i) EXPECT_EQ(ca.GetColorElem(i), static_cast<TColor>(n + 1 - i));
    EXPECT_EQ(changes, 1);
  }
  Numbered(2);
  ca.InvertColors();
  EXPECT_EQ(ca.GetColorElem(1), 0xFFFFFEu);
  EXPECT_EQ(changes, 1);
}

TEST_F(ColorArrayTest, FillByInterpolationSingleColour) {
  ca.FillByInterpolation(0, {0xFF0000FF});
  for (int32_t i = 1; i <= ca.Size(); ++i) ASSERT_EQ(ca.GetColorElem(i), 0x0000FFu);
  ca.FillByInterpolation(3, {0x00FF00});
  for (int32_t i = 1; i <= ca.Size(); ++i) ASSERT_EQ(ca.GetColorElem(i), 0x00FF00u);
  EXPECT_EQ(changes, 2);
  ca.FillByInterpolation(0, std::span<const TColor>());  // no key colours: nothing happens
  EXPECT_EQ(changes, 2);
}

TEST_F(ColorArrayTest, FillByInterpolationFiveBands) {
  ca.FillByInterpolation(4, ColorArray_Rainbow);
  EXPECT_EQ(changes, 1);
  const int32_t starts[] = {1, 126, 375, 626, 875, 1001};
  for (int band = 0; band < 5; ++band) {
    const TColor c = ca.GetColorElem(starts[band]);
    for (int32_t i = starts[band]; i < starts[band + 1]; ++i)
      ASSERT_EQ(ca.GetColorElem(i), c) << "band " << band << " position " << i;
    if (band > 0) {
      EXPECT_NE(c, ca.GetColorElem(starts[band] - 1)) << "band " << band;
    }
  }
  EXPECT_EQ(ca.GetColorElem(1), ColorArray_Rainbow[0]);     // k = 0
  EXPECT_EQ(ca.GetColorElem(500), ColorArray_Rainbow[5]);   // k = 500: point 5
  EXPECT_EQ(ca.GetColorElem(1000), ColorArray_Rainbow[10]);
}

TEST_F(ColorArrayTest, FillByInterpolationMoreIntervalsThanElements) {
  // Size 4, nine intervals, one level: positions 1 and 2 get k = 0, whose
  // scale index would be truncated(-9/4) = -2; they take the first colour.
  ca.SetSize(4);
  const TColor keys[] = {0x000001, 0x000002, 0x000003, 0x000004, 0x000005,
                         0x000006, 0x000007, 0x000008, 0x000009, 0x00000A};
  ca.FillByInterpolation(1, keys);
  EXPECT_EQ(ca.GetColorElem(1), 0x000001u);
  EXPECT_EQ(ca.GetColorElem(2), 0x000001u);
  // k = 4: index truncated(3 * 9 / 4) = 6, fraction 9 - 6 clamped to 1.
  EXPECT_EQ(ca.GetColorElem(3), 0x000008u);
  EXPECT_EQ(ca.GetColorElem(4), 0x000008u);
}

TEST_F(ColorArrayTest, ColorToIndex) {
  Numbered(10);
  ca.SetColorElem(7, 0x00FF00);
  ca.SetColorElem(9, 0x00FF00);
  double d = -1;
  EXPECT_EQ(ca.ColorToIndex(0x00FF00, d), 7);  // ties keep the lowest position
  EXPECT_EQ(d, 0.0);
  EXPECT_EQ(ca.ColorToIndex(0x00000A, d), 10);
  ca.Fill(0x000000);
  EXPECT_EQ(ca.ColorToIndex(0xFFFFFF, d), 1);
  EXPECT_EQ(d, 1.0);
}

TEST_F(ColorArrayTest, CopyFrom) {
  TColorArray b(nullptr);
  b.FillByInterpolation(0, ColorArray_Geo1);
  ca.CopyFrom(&b, 1, b.Size(), 1);
  EXPECT_TRUE(ca.IsEqual(b));
  EXPECT_EQ(changes, 1);
  ca.CopyFrom(nullptr, 1, 5, 1);
  EXPECT_EQ(changes, 1);

  Numbered(5);
  TColorArray src(nullptr);
  src.SetSize(3);
  for (int32_t i = 1; i <= 3; ++i) src.SetColorElem(i, 0x100 * static_cast<TColor>(i));
  // Reversed and out-of-range bounds clamp to 1..3; targets 4..6, 6 skipped.
  ca.CopyFrom(&src, 99, -4, 4);
  const TColor want1[] = {1, 2, 3, 0x100, 0x200};
  for (int32_t i = 1; i <= 5; ++i) EXPECT_EQ(ca.GetColorElem(i), want1[i - 1]) << i;
  // Targets before position 1 are skipped as well.
  ca.CopyFrom(&src, 1, 3, -1);
  EXPECT_EQ(ca.GetColorElem(1), 0x300u);
  EXPECT_EQ(ca.GetColorElem(2), 2u);
}

TEST_F(ColorArrayTest, CopyFromItselfOverlapping) {
  Numbered(6);
  ca.CopyFrom(&ca, 1, 4, 2);  // forward overlap
  const TColor want[] = {1, 1, 2, 3, 4, 6};
  for (int32_t i = 1; i <= 6; ++i) EXPECT_EQ(ca.GetColorElem(i), want[i - 1]) << i;
  Numbered(6);
  ca.CopyFrom(&ca, 3, 6, 1);  // backward overlap
  const TColor want2[] = {3, 4, 5, 6, 5, 6};
  for (int32_t i = 1; i <= 6; ++i) EXPECT_EQ(ca.GetColorElem(i), want2[i - 1]) << i;
}

TEST_F(ColorArrayTest, IsEqualAndAssign) {
  TColorArray a(nullptr), b(nullptr);
  EXPECT_TRUE(a.IsEqual(b));
  a.SetSize(10);
  b.SetSize(11);
  EXPECT_FALSE(a.IsEqual(b));
  b.SetSize(10);
  EXPECT_TRUE(a.IsEqual(b));
  b.SetColorElem(10, 0xFF000000);
  EXPECT_FALSE(a.IsEqual(b));

  Numbered(3);
  a.Assign(&ca);
  EXPECT_TRUE(a.IsEqual(ca));
  EXPECT_FALSE(a.OnChange());
  ca.Assign(&b);
  EXPECT_EQ(changes, 0);
  EXPECT_TRUE(ca.IsEqual(b));
  EXPECT_EQ(ca.Size(), 10);

  Numbered(2);
  ca.AssignTo(&a);
  EXPECT_TRUE(a.IsEqual(ca));

  TComponent other(nullptr);
  EXPECT_THROW(ca.Assign(&other), EConvertError);
  EXPECT_THROW(ca.AssignTo(&other), EConvertError);
  EXPECT_THROW(ca.Assign(nullptr), EConvertError);
}

TEST_F(ColorArrayTest, WritesTheFileFormat) {
  Numbered(6);
  ca.SetColorElem(4, 0x00ABCDEF);
  EXPECT_TRUE(ca.StoreOnFile(5, 3, Path("a.col")));
  EXPECT_EQ(ReadFile("a.col"), "3 5\r\n00000003\r\n00ABCDEF\r\n00000005\r\n");
  EXPECT_TRUE(ca.StoreOnFile(-3, 99, Path("b.col")));
  EXPECT_EQ(ReadFile("b.col").substr(0, 5), "1 6\r\n");
  EXPECT_TRUE(ca.StoreOnFile(9, 12, Path("c.col")));
  EXPECT_EQ(ReadFile("c.col"), "9 6\r\n");
  EXPECT_FALSE(ca.StoreOnFile(1, 6, Path("no/such/dir/x.col")));
}

TEST_F(ColorArrayTest, FileRoundTrip) {
  ca.FillByInterpolation(7, ColorArray_Geo2);
  ca.SetColorElem(3, SystemColor(15));
  ASSERT_TRUE(ca.StoreOnFile(1, ca.Size(), Path("r.col")));
  TColorArray b(nullptr);
  b.SetSize(17);
  EXPECT_TRUE(b.LoadFromFile(Path("r.col"), true));
  EXPECT_TRUE(b.IsEqual(ca));
  EXPECT_FALSE(b.LoadFromFile(Path("missing.col"), true));
}

TEST_F(ColorArrayTest, ReadNotifiesPerElementAndOnceAtTheEnd) {
  Numbered(5);
  WriteFile("p.col", "2 3\r\n0000FF\r\nff00\r\n");
  EXPECT_TRUE(ca.LoadFromFile(Path("p.col"), false));
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(ca.GetColorElem(2), 0xFFu);
  EXPECT_EQ(ca.GetColorElem(3), 0xFF00u);
  EXPECT_EQ(ca.GetColorElem(4), 4u);
}

TEST_F(ColorArrayTest, HeaderBeyondTheSize) {
  TColorArray a(nullptr);
  const TColor before = a.GetColorElem(1);
  std::string text = "1 2000\r\n";
  for (int i = 0; i < 2000; ++i) text += "00000001\r\n";
  WriteFile("big.col", text);
  EXPECT_FALSE(a.LoadFromFile(Path("big.col"), false));
  EXPECT_EQ(a.Size(), 1000);
  EXPECT_EQ(a.GetColorElem(1), before);
  EXPECT_TRUE(a.LoadFromFile(Path("big.col"), true));
  EXPECT_EQ(a.Size(), 2000);
  EXPECT_EQ(a.GetColorElem(2000), 1u);
}

// Untrusted files: the array stays sound and the reader stays bounded.
TEST_F(ColorArrayTest, BadFiles) {
  struct Case {
    const char* name;
    std::string bytes;
    bool adjust;
    bool result;
    int32_t size;         // size afterwards
    int notifications;    // -1: not checked
  } const cases[] = {
      {"huge", "1 2000000000\r\n00000001\r\n", true, false, 5, 0},
      {"just above limit", "1 " + std::to_string(TColorArray::MaxFileColors + 1) + "\r\n", true, false, 5, 0},
      {"at limit", "1 " + std::to_string(TColorArray::MaxFileColors) + "\r\n", true, true,
       TColorArray::MaxFileColors, -1},
      {"not numeric", "one two\r\n", true, false, 5, 0},
      {"second not numeric", "1 x\r\n", false, false, 5, 0},
      {"out of int32", "1 99999999999\r\n", false, false, 5, 0},
      {"binary", std::string("\x00\xff\x13\x80garbage\n\x01", 13), true, false, 5, 0},
      {"reversed", "4 2\r\n000000AA\r\n", false, true, 5, 1},
      {"negative first", "-1 2\r\nAA\r\nBB\r\nCC\r\nDD\r\n", false, true, 5, 3},
      {"far negative, short", "-2000000000 2\r\nAA\r\n", false, true, 5, 3},
      {"short file", "1 5\r\n000000AA\r\n", false, true, 5, 6},
      {"short file adjusting", "1 8\r\nAA\r\n", true, true, 8, 10},
      {"bad lines", "1 3\r\nzz\r\n12GG\r\n\r\n", false, true, 5, 4},
      {"LF only", "1 2\nAB\nCD\n", false, true, 5, 3},
      {"zero last", "0 0\r\nAA\r\n", true, true, 5, 1},
      {"empty", "", true, true, 5, 1},
  };
  for (const auto& c : cases) {
    Numbered(5);
    WriteFile("bad.col", c.bytes);
    EXPECT_EQ(ca.LoadFromFile(Path("bad.col"), c.adjust), c.result) << c.name;
    EXPECT_EQ(ca.Size(), c.size) << c.name;
    if (c.notifications >= 0) {
      EXPECT_EQ(changes, c.notifications) << c.name;
    }
  }
  // What the readable ones stored.
  struct Stored {
    std::string bytes;
    TColor want[5];
  } const stored[] = {
      {"-1 2\r\nAA\r\nBB\r\nCC\r\nDD\r\n", {0xCC, 0xDD, 3, 4, 5}},
      {"1 5\r\n000000AA\r\n", {0xAA, 0, 0, 0, 0}},  // missing lines read as empty
      {"1 3\r\nzz\r\n12GG\r\n\r\n", {0, 0x12, 0, 4, 5}},
  };
  for (const auto& c : stored) {
    Numbered(5);
    WriteFile("bad.col", c.bytes);
    ca.LoadFromFile(Path("bad.col"), false);
    for (int32_t i = 1; i <= 5; ++i) EXPECT_EQ(ca.GetColorElem(i), c.want[i - 1]) << c.bytes << i;
  }
}

TEST_F(ColorArrayTest, ShortFileWithLargeHeaderIsReadToTheEnd) {
  // A header naming many positions over a nearly empty file stays linear in
  // the array's size: every missing line stores 0.
  WriteFile("s.col", "1 200000\r\nFF\r\n");
  EXPECT_TRUE(ca.LoadFromFile(Path("s.col"), true));
  EXPECT_EQ(ca.Size(), 200000);
  EXPECT_EQ(ca.GetColorElem(1), 0xFFu);
  EXPECT_EQ(ca.GetColorElem(200000), 0u);
}

TEST_F(ColorArrayTest, FailingCallbackDuringReadKeepsGoing) {
  Numbered(3);
  int calls = 0;
  ca.SetOnChange([&](TObject*) {
    ++calls;
    throw std::runtime_error("x");
  });
  WriteFile("f.col", "1 3\r\nA\r\nB\r\nC\r\n");
  // Each element's notification fails and is ignored; the final one ends the
  // reader with the result reached.
  EXPECT_TRUE(ca.LoadFromFile(Path("f.col"), false));
  EXPECT_EQ(calls, 4);
  EXPECT_EQ(ca.GetColorElem(3), 0xCu);
}

}  // namespace
