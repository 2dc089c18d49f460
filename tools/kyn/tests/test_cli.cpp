// The tool's common behaviour: help, unknown subcommands, the demo.
#include <gtest/gtest.h>

#include "kyn_runner.h"

using kyntest::RunKyn;

TEST(KynTool, NoSubcommandIsAUsageError) {
  const auto r = RunKyn({});
  EXPECT_EQ(r.status, 2);
  EXPECT_FALSE(r.err.empty());
  EXPECT_TRUE(r.out.empty());
}

TEST(KynTool, UnknownSubcommandIsAUsageError) {
  const auto r = RunKyn({"no-such-command"});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("no-such-command"), std::string::npos);
}

TEST(KynTool, HelpListsDemo) {
  const auto r = RunKyn({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("demo"), std::string::npos);
}

TEST(KynTool, DemoRunsAndWritesItsTour) {
  kyntest::TempDir tmp;
  const auto r = RunKyn({"demo", "--dir", tmp.File("out")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("kynbasepack demo"), std::string::npos);
  EXPECT_TRUE(r.err.empty()) << r.err;
}
