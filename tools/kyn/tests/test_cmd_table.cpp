// kyn table: sorting and searching CSV files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "kyn_runner.h"

using kyntest::RunKyn;

namespace {

struct KynTable : ::testing::Test {
  std::filesystem::path dir;
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("kyn_table_" + std::to_string(::getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  std::string Write(const std::string& name, const std::string& text) const {
    const auto p = dir / name;
    std::ofstream(p, std::ios::binary) << text;
    return p.string();
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(dir / name, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
};

const char* kPlanets =
    "venus,0.72,rocky\n"
    "Mercury,0.39,rocky\r\n"
    "\"Jupiter, the giant\",5.20,gas\n"
    "earth,1.00,rocky\n"
    "\"say \"\"hi\"\"\",9.54,gas\n"
    "Mars,1.52\n";

TEST_F(KynTable, SortByColumnsBothWays) {
  const std::string f = Write("p.csv", kPlanets);
  struct Case {
    std::vector<std::string> args;
    std::string expected;
  };
  const Case cases[] = {
      {{"--col", "1"},
       "earth,1.00,rocky\n\"Jupiter, the giant\",5.20,gas\nMars,1.52\nMercury,0.39,rocky\n"
       "\"say \"\"hi\"\"\",9.54,gas\nvenus,0.72,rocky\n"},
      {{"--col", "2", "--desc"},
       "\"say \"\"hi\"\"\",9.54,gas\n\"Jupiter, the giant\",5.20,gas\nMars,1.52\nearth,1.00,rocky\n"
       "venus,0.72,rocky\nMercury,0.39,rocky\n"},
      {{"--col", "3", "--sec", "2"},
       "Mars,1.52\n\"Jupiter, the giant\",5.20,gas\n\"say \"\"hi\"\"\",9.54,gas\nMercury,0.39,rocky\n"
       "venus,0.72,rocky\nearth,1.00,rocky\n"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"table", "sort", f};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const auto r = RunKyn(args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, c.expected) << c.args[1];
    EXPECT_EQ(r.err, "");  // stderr is no terminal: no progress bar
  }
}

TEST_F(KynTable, SeparatorOutputFileAndLineBreaksInFields) {
  const std::string f = Write("s.csv", "b;\"two\nlines\";x\na;\"semi;colon\";y\n");
  auto r = RunKyn({"table", "sort", f, "--col", "1", "--sep", ";", "--out", (dir / "o.csv").string()});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(Read("o.csv"), "a;\"semi;colon\";y\nb;\"two\nlines\";x\n");
  // Fields the cells cannot hold are altered, with a warning.
  const std::string g = Write("u.csv", "\xE2\x82\xAC\xD0\x96," + std::string(300, 'z') + "\nA,b\n");
  r = RunKyn({"table", "sort", g, "--col", "1"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "A,b\n\xE2\x82\xAC?," + std::string(255, 'z') + "\n");
  EXPECT_NE(r.err.find("2 field(s)"), std::string::npos) << r.err;
}

TEST_F(KynTable, Find) {
  const std::string f = Write("p.csv", kPlanets);
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string out;
  };
  const Case cases[] = {
      {{"rock"}, 0, "3,1\n"},
      {{"MARS"}, 0, "1,6\n"},
      {{"MARS", "--case"}, 1, ""},
      {{"giant"}, 0, "1,3\n"},
      {{"giant", "--exact"}, 1, ""},
      {{"jupiter, the giant", "--exact"}, 0, "1,3\n"},
      {{"say \"hi\"", "--exact", "--case"}, 0, "1,5\n"},
      {{"6"}, 1, ""},  // the record numbers of column 0 are not searched
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"table", "find", f};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const auto r = RunKyn(args);
    EXPECT_EQ(r.status, c.status) << c.args[0] << r.err;
    EXPECT_EQ(r.out, c.out) << c.args[0];
  }
}

TEST_F(KynTable, Errors) {
  const std::string f = Write("p.csv", kPlanets);
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string err;
  };
  const Case cases[] = {
      {{"table", "sort", f, "--col", "4"}, 2, "--col 4 is outside the table's columns 1..3"},
      {{"table", "sort", f, "--col", "0"}, 2, "--col 0"},
      {{"table", "sort", f, "--col", "1", "--sec", "9"}, 2, "--sec 9"},
      {{"table", "sort", f}, 2, "--col"},
      {{"table", "sort", f, "--col", "1", "--sep", "ab"}, 2, "--sep"},
      {{"table", "find", f}, 2, "TEXT"},
      {{"table"}, 2, ""},
      {{"table", "sort", (dir / "missing.csv").string(), "--col", "1"}, 1, "missing.csv"},
      {{"table", "sort", Write("q.csv", "a,\"open\n"), "--col", "1"}, 1, "unterminated quoted field in record 1"},
  };
  for (const Case& c : cases) {
    const auto r = RunKyn(c.args);
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
  }
  const auto help = RunKyn({"table", "sort", "--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--desc"), std::string::npos);
}

TEST_F(KynTable, EmptyFileAndDemo) {
  const std::string f = Write("e.csv", "");
  auto r = RunKyn({"table", "sort", f, "--col", "1"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");
  r = RunKyn({"table", "find", f, "x"});
  EXPECT_EQ(r.status, 1);
  r = RunKyn({"demo", "--dir", dir.string()});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("## String array"), std::string::npos);
  EXPECT_NE(r.out.find("Sorted by name (case ignored): Earth Jupiter Mars Mercury saturn venus"), std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("read back: same"), std::string::npos);
}

}  // namespace
