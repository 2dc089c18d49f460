// kyn tables.
#include <gtest/gtest.h>

#include <string>

#include "kyn_runner.h"

using kyntest::RunKyn;

namespace {

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(KynTables, FullListingHasConstantsAndLanguageTables) {
  const auto r = RunKyn({"tables"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Has(r.out, "uc_MaxDouble      1.6999999999999999999e+308  [43FE F2168983B9DBB273]"));
  EXPECT_TRUE(Has(r.out, "uc_MinExtended    3.6451995318824746025e-4951  [0000 0000000000000001]"));
  EXPECT_TRUE(Has(r.out, "lgGerman: \"J\xC3\xA4nner\", \"Februar\""));  // UTF-8 output
  EXPECT_TRUE(Has(r.out, "\"f\xC3\xA9vrier \""));
  EXPECT_TRUE(Has(r.out, "215 \xC3\x97 &times;"));
  EXPECT_FALSE(Has(r.out, "  1000  "));  // the log-factorials only on request
}

TEST(KynTables, OneTableByName) {
  const auto r = RunKyn({"tables", "uc_LnFactorial"});
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(Has(r.out, "     3  1.79175946922806\n"));
  EXPECT_TRUE(Has(r.out, "  1000  5912.12817848816\n"));
  const auto iso = RunKyn({"tables", "ISO639_3Char"});
  EXPECT_EQ(iso.out, "ISO639_3Char\n  codes: \"???\", \"eng\", \"ger\", \"fre\", \"spa\"\n");
}

TEST(KynTables, UnknownNameListsTheValidOnes) {
  const auto r = RunKyn({"tables", "monthshort"});
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(r.out.empty());
  EXPECT_TRUE(Has(r.err, "monthshort"));
  EXPECT_TRUE(Has(r.err, "MonthShort"));
  EXPECT_TRUE(Has(r.err, "HTMLLat1Entities"));
}

TEST(KynTables, DemoShowsTablesAndFormatting) {
  kyntest::TempDir tmp;
  const auto r = RunKyn({"demo", "--dir", tmp.File("out")});
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(Has(r.out, "strff(1234.56, 10, -2) = [ 1.235E+03]"));
  EXPECT_TRUE(Has(r.out, "HTMLLat1Entities[215] = \"&times;\""));
  EXPECT_TRUE(Has(r.out, "65280 8"));
}

}  // namespace
