// TAssocArray: lookup rules, growth, removal, resolving, the XML form.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "kyn/dstruct/assocarray.h"

using namespace kyn;

namespace {

// An array owned by a parent component, as callers hold it.
struct AssocFixture : ::testing::Test {
  TComponent owner{nullptr};
  TAssocArray* a = new TAssocArray(&owner);
};

std::string WriteXml(const TAssocArray& a, const String& id, bool header = false) {
  TStringStream s;
  a.WriteToXMLStream(s, header, id);
  return s.DataString();
}

}  // namespace

using AssocArray = AssocFixture;

TEST_F(AssocArray, DefaultsAfterConstruction) {
  EXPECT_EQ(a->NumEntries(), 0);
  EXPECT_EQ(a->Capacity(), 1024);
  EXPECT_EQ(a->Granularity(), 1024);
  EXPECT_TRUE(a->IgnoreCase());
  EXPECT_TRUE(a->DataID().empty());
  EXPECT_EQ(owner.ComponentCount(), 1);
}

TEST_F(AssocArray, IgnoreCaseStoresLowerCaseAndFindsAnyCase) {
  a->Add(u"Alpha", Variant(int32_t(1)));
  EXPECT_EQ(a->GetKeys(1), u"alpha");
  EXPECT_EQ(a->Resolve(u"ALPHA"), Variant(int32_t(1)));
  // Only A-Z fold: U+00C4 and U+00E4 stay different keys.
  a->Add(u"\u00c4", Variant(int32_t(2)));
  EXPECT_TRUE(a->Resolve(u"\u00e4").IsNull());
  a->SetIgnoreCase(false);
  a->Add(u"Beta", Variant(int32_t(3)));
  a->Add(u"beta", Variant(int32_t(4)));
  EXPECT_EQ(a->NumEntries(), 4);
  EXPECT_EQ(a->GetKeys(3), u"Beta");
  EXPECT_EQ(a->Resolve(u"Beta"), Variant(int32_t(3)));
  EXPECT_EQ(a->Resolve(u"beta"), Variant(int32_t(4)));
  EXPECT_TRUE(a->Resolve(u"BETA").IsNull());
  // Switched on again: both sides fold, the first of the two wins, and an
  // Add of another spelling replaces that first one.
  a->SetIgnoreCase(true);
  EXPECT_EQ(a->Resolve(u"BETA"), Variant(int32_t(3)));
  a->Add(u"BeTa", Variant(int32_t(5)));
  EXPECT_EQ(a->NumEntries(), 4);
  EXPECT_EQ(a->GetValues(3), Variant(int32_t(5)));
  EXPECT_EQ(a->GetValues(4), Variant(int32_t(4)));
}

TEST_F(AssocArray, AddReplacesRemoveMovesTheLastEntry) {
  a->Add(u"a", Variant(1.0));
  a->Add(u"b", Variant(2.0));
  a->Add(u"c", Variant(3.0));
  a->Add(u"B", Variant(u"two"));
  EXPECT_EQ(a->NumEntries(), 3);
  EXPECT_EQ(a->IndexOf(u"b"), 2);
  EXPECT_EQ(a->GetValues(2), Variant(u"two"));
  EXPECT_FALSE(a->Remove(u"zz"));
  EXPECT_EQ(a->NumEntries(), 3);
  EXPECT_TRUE(a->Remove(u"B"));
  EXPECT_EQ(a->NumEntries(), 2);
  EXPECT_EQ(a->GetKeys(2), u"c");
  EXPECT_EQ(a->GetValues(2), Variant(3.0));
  EXPECT_EQ(a->IndexOf(u"c"), 2);
  EXPECT_EQ(a->Capacity(), 1024);
  EXPECT_TRUE(a->Remove(u"c"));  // the last one
  EXPECT_TRUE(a->Remove(u"a"));
  EXPECT_EQ(a->NumEntries(), 0);
  EXPECT_TRUE(a->Resolve(u"a").IsNull());
}

TEST_F(AssocArray, IndexedAccessOutOfRange) {
  a->Add(u"k", Variant(int32_t(1)));
  for (int32_t ix : {0, -1, 2, 1000}) {
    EXPECT_TRUE(a->GetKeys(ix).empty());
    const Variant v = a->GetValues(ix);
    EXPECT_TRUE(v.IsString());
    EXPECT_TRUE(v.StringValue().empty());
    a->SetKeys(ix, u"x");
    a->SetValues(ix, Variant(2.0));
  }
  EXPECT_EQ(a->NumEntries(), 1);
  EXPECT_EQ(a->GetKeys(1), u"k");
  EXPECT_TRUE(a->Resolve(u"absent").IsNull());
  EXPECT_TRUE(a->ResolveAsString(u"absent").empty());
  EXPECT_EQ(a->ResolveAsNumber(u"absent"), 0.0);
}

TEST_F(AssocArray, ResolveAsNumberAndString) {
  struct Case {
    const char16_t* key;
    Variant value;
    double number;
    const char16_t* text;
  };
  const Case cases[] = {
      {u"comma", Variant(u"12,5"), 12.5, u"12,5"},
      {u"sci", Variant(u" 1.5E2xyz"), 150.0, u" 1.5E2xyz"},
      {u"word", Variant(u"abc"), 0.0, u"abc"},
      {u"int", Variant(int32_t(7)), 7.0, u"7"},
      {u"i8", Variant(int8_t(-3)), -3.0, u"-3"},
      {u"u32", Variant(uint32_t(4000000000u)), 4e9, u"4000000000"},
      {u"u64", Variant(uint64_t(5)), 0.0, u"5"},
      {u"dbl", Variant(0.25), 0.25, u"0.25"},
      {u"sgl", Variant(1.5f), 1.5, u"1.5"},
      {u"cur", Variant::Currency(12.3456), 12.3456, u"12.3456"},
      {u"bool", Variant(true), 0.0, u"True"},
      {u"date", Variant::Date(2.0), 0.0, u"1900-01-01"},
      {u"empty", Variant(), 0.0, u""},
      {u"null", Variant::Null(), 0.0, u""},
  };
  for (const Case& c : cases) a->Add(c.key, c.value);
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(a->ResolveAsNumber(c.key), c.number) << StringToUtf8(c.key);
    EXPECT_EQ(a->ResolveAsString(c.key), c.text) << StringToUtf8(c.key);
  }
}

TEST_F(AssocArray, GrowthByGranularityAndClear) {
  for (int i = 1; i <= 1024; ++i) a->Add(u"k" + Utf8ToString(std::to_string(i)), Variant(int32_t(i)));
  EXPECT_EQ(a->Capacity(), 1024);
  a->Add(u"k1025", Variant(int32_t(1025)));
  EXPECT_EQ(a->Capacity(), 1025 + 1024);
  a->SetGranularity(10);
  a->Clear();
  EXPECT_EQ(a->NumEntries(), 0);
  EXPECT_EQ(a->Capacity(), 10);
  EXPECT_TRUE(a->Resolve(u"k5").IsNull());
  for (int i = 0; i < 11; ++i) a->Add(Utf8ToString(std::to_string(i)), Variant(int32_t(i)));
  EXPECT_EQ(a->Capacity(), 21);
  // Below 0 acts as 0: the arrays grow one entry at a time.
  a->SetGranularity(-5);
  a->Clear();
  EXPECT_EQ(a->Capacity(), 0);
  a->Add(u"x", Variant(1.0));
  a->Add(u"y", Variant(2.0));
  EXPECT_EQ(a->Capacity(), 2);
  EXPECT_EQ(a->Resolve(u"x"), Variant(1.0));
}

TEST_F(AssocArray, DuplicateKeysFromSetKeysResolveToTheLowerIndex) {
  a->Add(u"a", Variant(int32_t(1)));
  a->Add(u"b", Variant(int32_t(2)));
  a->Add(u"c", Variant(int32_t(3)));
  a->SetKeys(3, u"a");
  a->SetKeys(2, u"A");  // stored unchanged, equal to "a" under IgnoreCase
  EXPECT_EQ(a->GetKeys(2), u"A");
  EXPECT_TRUE(a->Resolve(u"b").IsNull());
  EXPECT_EQ(a->Resolve(u"a"), Variant(int32_t(1)));
  EXPECT_TRUE(a->Remove(u"a"));  // removes index 1; "a" of index 3 moves there
  EXPECT_EQ(a->GetKeys(1), u"a");
  EXPECT_EQ(a->Resolve(u"a"), Variant(int32_t(3)));
  a->SetIgnoreCase(false);
  EXPECT_EQ(a->Resolve(u"A"), Variant(int32_t(2)));
  EXPECT_TRUE(a->Remove(u"a"));
  EXPECT_EQ(a->GetKeys(1), u"A");
  EXPECT_TRUE(a->Resolve(u"a").IsNull());
}

TEST_F(AssocArray, ManyKeysStayReachableThroughRemovals) {
  a->SetGranularity(7);
  const int n = 5000;
  for (int i = 0; i < n; ++i) a->Add(u"Key" + Utf8ToString(std::to_string(i)), Variant(int32_t(i)));
  for (int i = 0; i < n; i += 3) ASSERT_TRUE(a->Remove(u"KEY" + Utf8ToString(std::to_string(i))));
  for (int i = 0; i < n; ++i) {
    const Variant v = a->Resolve(u"key" + Utf8ToString(std::to_string(i)));
    if (i % 3 == 0) {
      ASSERT_TRUE(v.IsNull()) << i;
    } else {
      ASSERT_EQ(v, Variant(int32_t(i))) << i;
    }
  }
  // Index and key agree for every entry.
  for (int32_t ix = 1; ix <= a->NumEntries(); ++ix) ASSERT_EQ(a->IndexOf(a->GetKeys(ix)), ix);
}

// ------------------------------------------------------------------- XML

TEST_F(AssocArray, XmlLayout) {
  a->Add(u"Name", Variant(u"a<b> & \"c\""));
  a->Add(u"n", Variant(int32_t(-4)));
  a->Add(u"none", Variant::Null());
  EXPECT_EQ(WriteXml(*a, u"set1", true),
            "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n"
            "<!-- TAssocArray / Kyn Component Suite -->\r\n"
            "<assocarray sig=\"Quarnelix\" vers=\"1.0\" id=\"set1\" ignorecase=\"1\">\r\n"
            "  <entry key=\"name\" type=\"string\" val=\"a&lt;b&gt; &amp; &quot;c&quot;\" />\r\n"
            "  <entry key=\"n\" type=\"integer\" val=\"-4\" />\r\n"
            "  <entry key=\"none\" type=\"null\" />\r\n"
            "</assocarray>\r\n");
}

TEST_F(AssocArray, XmlRoundTripKeepsKeysValuesKindsAndOrder) {
  a->SetIgnoreCase(false);
  const String keys[] = {
      u"Mixed", u"mixed", u"amp&lt<gt>\"quote'", u"line\r\nbreak\ttab", u"\u20ac \u00e9 \u00ff",
      u"\u4e2d\U0001F600", String(u"lone\xd800", 5), u"c1\u0081\u0090", u"", u"#&#65;",
  };
  const Variant values[] = {
      Variant(), Variant::Null(), Variant(true), Variant(false), Variant(int8_t(-128)), Variant(int16_t(32767)),
      Variant(int32_t(-2147483647 - 1)), Variant(int64_t(-9223372036854775807LL - 1)), Variant(uint8_t(255)),
      Variant(uint16_t(65535)), Variant(uint32_t(4294967295u)), Variant(uint64_t(18446744073709551615ull)),
      Variant(0.1f), Variant(1.0 / 3.0), Variant(-1e-310), Variant::FromCurrencyUnits(-9223372036854775807LL - 1),
      Variant::FromCurrencyUnits(123), Variant::Date(45000.75), Variant(u"text\r\n\u00e9\U0001F600&"),
      Variant(String()),
  };
  int i = 0;
  for (const String& k : keys) a->Add(k, values[i++]);
  for (; i < static_cast<int>(std::size(values)); ++i) a->Add(u"v" + Utf8ToString(std::to_string(i)), values[i]);
  a->SetKeys(2, u"Mixed");  // a duplicate key

  TStringStream s;
  a->WriteToXMLStream(s, true, u"Data\u00e9");
  s.WriteString(u"after");
  // Everything written is one byte per character in Windows-1252.
  s.SetPosition(0);
  TAssocArray b(nullptr);
  b.Add(u"old", Variant(1.0));
  ASSERT_TRUE(b.ReadFromXMLStream(s, u"DATA\u00e9"));
  EXPECT_FALSE(b.IgnoreCase());
  ASSERT_EQ(b.NumEntries(), a->NumEntries());
  for (int32_t ix = 1; ix <= a->NumEntries(); ++ix) {
    EXPECT_EQ(b.GetKeys(ix), a->GetKeys(ix)) << ix;
    const Variant x = a->GetValues(ix), y = b.GetValues(ix);
    EXPECT_EQ(y.VarType(), x.VarType()) << ix;
    EXPECT_TRUE(y == x) << ix << " " << StringToUtf8(x.IsNull() ? u"null" : x.ToString());
  }
  EXPECT_EQ(b.Resolve(u"Mixed"), values[0]);  // the lower of the duplicates
  EXPECT_TRUE(b.Resolve(u"old").IsNull());
  // The stream is left right after the end tag.
  char rest[8];
  EXPECT_EQ(s.Read(rest, 8), 7);
  EXPECT_EQ(std::string(rest, 7), "\r\nafter");
}

TEST_F(AssocArray, XmlSelectsByDataId) {
  TStringStream s;
  TAssocArray x(nullptr), y(nullptr);
  x.Add(u"k", Variant(u"first"));
  y.Add(u"k", Variant(u"second"));
  x.WriteToXMLStream(s, true, u"One");
  y.WriteToXMLStream(s, false, u"two");
  struct Case {
    const char16_t* id;
    bool found;
    const char16_t* value;
  };
  const Case cases[] = {{u"", true, u"first"}, {u"one", true, u"first"}, {u"TWO", true, u"second"},
                        {u"three", false, u"unchanged"}};
  for (const Case& c : cases) {
    TAssocArray r(nullptr);
    r.Add(u"k", Variant(u"unchanged"));
    s.SetPosition(0);
    EXPECT_EQ(r.ReadFromXMLStream(s, c.id), c.found) << StringToUtf8(c.id);
    EXPECT_EQ(r.ResolveAsString(u"k"), c.value);
  }
}

TEST_F(AssocArray, XmlReaderRefusesBrokenElementsAndChangesNothing) {
  const std::string good = "<assocarray sig=\"quarnelix\" id=\"a\"><entry key=\"k\" type=\"double\" val=\"1.5\"/>";
  struct Case {
    std::string text;
    bool ok;
  };
  const Case cases[] = {
      {good + "</assocarray>", true},
      {good + "</ASSOCARRAY>", true},
      {"<!-- \"quoted > comment\" --><ASSOCARRAY ID='a' SIG=QUARNELIX >\n<entry\ttype=int64\nval='5' key=k/>"
       "<other/></assocarray>",
       true},
      {good, false},                                              // no end tag
      {"<assocarray sig=\"other\" id=\"a\"></assocarray>", false},  // another signature
      {good + "<entry key=\"x\" type=\"complex\" val=\"1\"/></assocarray>", false},
      {good + "<entry key=\"x\" type=\"byte\" val=\"256\"/></assocarray>", false},
      {good + "<entry key=\"x\" type=\"double\" val=\"1.5x\"/></assocarray>", false},
      {good + "<entry type=\"double\" val=\"1\"/></assocarray>", false},
      {good + "<entry key=\"x\" type=\"currency\" val=\"1.23456\"/></assocarray>", false},
      {"", false},
  };
  for (const Case& c : cases) {
    TStringStream s{std::string_view(c.text)};
    TAssocArray r(nullptr);
    r.Add(u"before", Variant(true));
    EXPECT_EQ(r.ReadFromXMLStream(s, u"A"), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(r.NumEntries(), 1);
      EXPECT_NE(r.ResolveAsNumber(u"k"), 0.0);
    } else {
      EXPECT_EQ(r.NumEntries(), 1);
      EXPECT_EQ(r.GetKeys(1), u"before");
    }
  }
}

TEST_F(AssocArray, AddXmlAttributes) {
  EXPECT_EQ(a->AddXMLAttributes(u" Name=\"Arial Black\"\tsize=12\nbold='1' amp=\"a&amp;b&#x263A;\" "), 4);
  EXPECT_EQ(a->ResolveAsString(u"name"), u"Arial Black");
  EXPECT_EQ(a->Resolve(u"SIZE"), Variant(u"12"));
  EXPECT_EQ(a->ResolveAsNumber(u"size"), 12.0);
  EXPECT_EQ(a->ResolveAsString(u"bold"), u"1");
  EXPECT_EQ(a->ResolveAsString(u"amp"), u"a&b\u263a");
  // Reading stops at the first malformed pair.
  EXPECT_EQ(a->AddXMLAttributes(u"x=1 y z=3"), 1);
  EXPECT_TRUE(a->Resolve(u"z").IsNull());
  EXPECT_EQ(a->AddXMLAttributes(u"q=\"open"), 0);
  EXPECT_EQ(a->AddXMLAttributes(u""), 0);
  EXPECT_EQ(a->AddXMLAttributes(u"x=2"), 1);  // replaces
  EXPECT_EQ(a->Resolve(u"x"), Variant(u"2"));
}
