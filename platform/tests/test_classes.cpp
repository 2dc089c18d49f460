// Components, ownership, assignment errors, string list, variant, random
// generator and module start-up.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "kyn/platform.h"

using namespace kyn;

namespace {
int g_destroyed = 0;

class TCounted : public TComponent {
 public:
  using TComponent::TComponent;
  ~TCounted() override { ++g_destroyed; }
  String ClassName() const override { return u"TCounted"; }
};
}  // namespace

TEST(Component, OwnerDeletesWhatItOwns) {
  g_destroyed = 0;
  auto* owner = new TCounted(nullptr);
  auto* a = new TCounted(owner);
  new TCounted(a);  // owned by a, so deleted through a
  auto* b = new TCounted(owner);
  EXPECT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(b->Owner(), owner);
  delete b;  // removes itself from its owner
  EXPECT_EQ(owner->ComponentCount(), 1);
  EXPECT_EQ(g_destroyed, 1);
  delete owner;
  EXPECT_EQ(g_destroyed, 4);
}

TEST(Component, DefaultAssignRaisesAnErrorNamingBothClasses) {
  TCounted a(nullptr);
  TStringList l;
  try {
    l.Assign(&a);
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), u"Cannot assign a TCounted to a TStringList");
  }
  // Not in the library's own error family.
  EXPECT_THROW(a.Assign(&l), EConvertError);
}

TEST(StringList, AddIndexAndBounds) {
  TStringList l;
  EXPECT_EQ(l.Add(u"a"), 0);
  EXPECT_EQ(l.Add(u"b"), 1);
  l.Insert(1, u"x");
  EXPECT_EQ(l.IndexOf(u"b"), 2);
  EXPECT_EQ(l.Text(), u"a\r\nx\r\nb\r\n");
  EXPECT_THROW(l[3], EListError);
  EXPECT_THROW(l.Insert(5, u"y"), EListError);
  TStringList copy;
  copy.Assign(&l);
  EXPECT_EQ(copy.Count(), 3);
}

TEST(Variant, KindsAndConversions) {
  struct Case {
    Variant v;
    TVarType type;
    String text;
    double number;
  } cases[] = {
      {Variant(int32_t(-42)), TVarType::Integer, u"-42", -42},
      {Variant(uint8_t(200)), TVarType::Byte, u"200", 200},
      {Variant(0.1), TVarType::Double, u"0.1", 0.1},
      {Variant(1.5f), TVarType::Single, u"1.5", 1.5},
      {Variant(true), TVarType::Boolean, u"True", 1},
      {Variant::Currency(-12.3456), TVarType::Currency, u"-12.3456", -12.3456},
      {Variant::Currency(3.5), TVarType::Currency, u"3.5", 3.5},
      {Variant::Date(36526.5), TVarType::Date, u"2000-01-01 12:00:00", 36526.5},
      {Variant(String(u" 2.5e1 ")), TVarType::String, u" 2.5e1 ", 25},
      {Variant(), TVarType::Empty, u"", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.v.VarType(), c.type);
    EXPECT_EQ(c.v.ToString(), c.text);
    EXPECT_DOUBLE_EQ(c.v.ToDouble(), c.number);
  }
  EXPECT_THROW(Variant(String(u"12abc")).ToDouble(), EVariantError);
  EXPECT_THROW(Variant::Null().ToString(), EVariantError);
  EXPECT_TRUE(Variant(int32_t(1)) == Variant(int32_t(1)));
  EXPECT_FALSE(Variant(int32_t(1)) == Variant(int64_t(1)));
}

TEST(Random, SameSeedSameSequenceAndRanges) {
  RandSeed(12345);
  std::vector<int> first;
  for (int i = 0; i < 50; ++i) first.push_back(RandomInt(10));
  RandSeed(12345);
  for (int i = 0; i < 50; ++i) EXPECT_EQ(RandomInt(10), first[static_cast<size_t>(i)]);
  std::set<int> seen(first.begin(), first.end());
  EXPECT_EQ(seen.size(), 10u);  // 50 draws cover all of 0..9
  EXPECT_EQ(*seen.begin(), 0);
  EXPECT_EQ(*seen.rbegin(), 9);
  EXPECT_EQ(RandomInt(0), 0);
  EXPECT_EQ(RandomInt(-7), 0);
  double lo = 1, hi = 0;
  for (int i = 0; i < 1000; ++i) {
    const double r = RandomFloat();
    lo = std::min(lo, r);
    hi = std::max(hi, r);
  }
  EXPECT_GE(lo, 0.0);
  EXPECT_LT(hi, 1.0);
  EXPECT_LT(lo, 0.05);
  EXPECT_GT(hi, 0.95);
}

TEST(Startup, RunsOnceAndASecondStartHasNoEffect) {
  EXPECT_TRUE(ModulesStarted());
  RandSeed(777);
  EXPECT_FALSE(StartupModules());
  EXPECT_EQ(RandSeed(), 777u);  // a second start-up did not reseed
}
