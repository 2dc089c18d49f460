// The registry of the kyn tool. Each cmd_*.cpp file registers a family of
// subcommands and, optionally, a section of `kyn demo`:
//
//   static const bool registered = kyn::cli::RegisterFamily("format", [](CLI::App& app) {
//     auto* sub = app.add_subcommand("format", "Format a number");
//     ...
//     sub->callback([=] { ... std::cout << text << '\n'; });
//   });
//   static const bool demo = kyn::cli::RegisterDemo(20, "Number formatting",
//       [](kyn::cli::DemoContext& ctx) { ctx.out << ...; });
//
// A callback reports a bad argument by throwing UsageError (exit status 2) and
// other failures by throwing Failure (with its own status); the message goes
// to stderr.
#pragma once

#include <CLI/CLI.hpp>

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <stdexcept>
#include <string>

#include "kyn/platform/string.h"

namespace kyn::cli {

struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct Failure : std::runtime_error {
  Failure(const std::string& msg, int status) : std::runtime_error(msg), status(status) {}
  int status;
};

// Ends the run with the given status and no message (for example grep's
// "nothing matched").
struct ExitStatus {
  int status;
};

struct DemoContext {
  std::ostream& out;
  std::filesystem::path dir;  // a folder the demo may write files to
};

bool RegisterFamily(const std::string& name, std::function<void(CLI::App&)> setup);
bool RegisterDemo(int order, const std::string& title, std::function<void(DemoContext&)> run);

// Runs the tool; used by main().
int Run(int argc, char** argv);

// Text helpers for subcommands.
inline std::string U8(const kyn::String& s) { return kyn::StringToUtf8(s); }
inline kyn::String U16(const std::string& s) { return kyn::Utf8ToString(s); }

}  // namespace kyn::cli
