// kyn format and kyn scan.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kyn_runner.h"

using kyntest::RunKyn;

namespace {

struct CliCase {
  std::vector<std::string> args;
  std::string out;
};

TEST(KynFormat, PrintsExactlyTheFormattedText) {
  const CliCase cases[] = {
      {{"format", "1234.56", "--width", "10", "--decimals", "-2"}, " 1.235E+03\n"},
      {{"format", "3.14159"}, "3.14\n"},
      {{"format", "-3.5", "--width", "-8"}, "-0003.50\n"},
      {{"format", "--width", "8", "-3.5"}, "   -3.50\n"},
      {{"format", "3.14159", "-w", "8", "--mode", "plus"}, "   +3.14\n"},
      {{"format", "1234567", "-w", "10", "--mode", "data"}, " 1.234567000E+06\n"},
      {{"format", "0.00123456", "-w", "6", "--mode", "sigdig", "--digits", "3"}, " 1.23E-03\n"},
      {{"format", "0.5", "--mode", "auto", "--digits", "3"}, "0.50\n"},
      {{"format", "1.5e120", "-w", "8", "-d", "-2"}, "********\n"},
      {{"format", "nan", "-w", "5"}, "  NAN\n"},
      {{"format", "--", "-inf"}, "-INF\n"},
      {{"format", "1e4000", "-d", "-1", "-w", "12"}, " 1.000E+4000\n"},  // read as long double
  };
  for (const CliCase& c : cases) {
    const auto r = RunKyn(c.args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, c.out) << c.args[1];
    EXPECT_TRUE(r.err.empty()) << r.err;
  }
}

TEST(KynFormat, BadArgumentsAreUsageErrors) {
  const std::vector<std::string> bad[] = {
      {"format"},
      {"format", "12x"},
      {"format", "1,5"},
      {"format", ""},
      {"format", "1", "--mode", "fancy"},
      {"format", "1", "--width", "ten"},
  };
  for (const auto& args : bad) {
    const auto r = RunKyn(args);
    EXPECT_EQ(r.status, 2) << args.size();
    EXPECT_TRUE(r.out.empty());
    EXPECT_FALSE(r.err.empty());
  }
}

TEST(KynScan, PrintsValueAndEndPosition) {
  const CliCase cases[] = {
      {{"scan", "$00FF00", "--kind", "hex"}, "65280 8\n"},
      {{"scan", "  -12.5e3x"}, "-12500 10\n"},
      {{"scan", "0.1"}, "0.1 4\n"},              // shortest round-trip form
      {{"scan", "1,5"}, "1.5 4\n"},
      {{"scan", "1.5.3"}, "0 4\n"},
      {{"scan", "1E400"}, "1.7e+308 6\n"},
      {{"scan", "-7", "--kind", "dec"}, "-7 3\n"},
      {{"scan", "2147483648", "--kind", "dec"}, "-2147483648 11\n"},
      {{"scan", "FFFFFFFF", "-k", "hex"}, "4294967295 9\n"},
      {{"scan", "a 42", "-k", "dec", "--pos", "2"}, "42 5\n"},
      {{"scan", "12", "--pos", "9"}, "0 9\n"},
      {{"scan", "zwölf 3", "--pos", "7"}, "3 8\n"},   // positions count UTF-16 units
  };
  for (const CliCase& c : cases) {
    const auto r = RunKyn(c.args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, c.out) << c.args[1];
  }
}

TEST(KynScan, BadArgumentsAreUsageErrors) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"scan"}, {"scan", "1", "--kind", "oct"}, {"scan", "1", "--pos", "x"}}) {
    const auto r = RunKyn(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_FALSE(r.err.empty());
  }
}

TEST(KynNumbers, HelpDescribesOptions) {
  for (const char* sub : {"format", "scan"}) {
    const auto r = RunKyn({sub, "--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find(std::string(sub) == "format" ? "--width" : "--pos"), std::string::npos);
  }
}

}  // namespace
