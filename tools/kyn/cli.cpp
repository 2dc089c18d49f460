#include "cli.h"

#include <algorithm>
#include <iostream>
#include <vector>

#include "kyn/platform/exceptions.h"

namespace kyn::cli {

namespace {

struct Family {
  std::string name;
  std::function<void(CLI::App&)> setup;
};

struct Demo {
  int order;
  std::string title;
  std::function<void(DemoContext&)> run;
};

// Function-local statics: registration happens during static initialisation
// of the cmd_*.cpp files, in no fixed order.
std::vector<Family>& Families() {
  static std::vector<Family> f;
  return f;
}

std::vector<Demo>& Demos() {
  static std::vector<Demo> d;
  return d;
}

void AddDemoCommand(CLI::App& app) {
  auto* sub = app.add_subcommand("demo", "A short tour through the library, printing what it does");
  auto dir = std::make_shared<std::string>("kyn-demo");
  sub->add_option("--dir", *dir, "Folder for the files the demo writes")->capture_default_str();
  sub->callback([dir] {
    std::vector<Demo> demos = Demos();
    std::stable_sort(demos.begin(), demos.end(), [](const Demo& a, const Demo& b) { return a.order < b.order; });
    DemoContext ctx{std::cout, std::filesystem::path(*dir)};
    std::cout << "kynbasepack demo\n================\n";
    for (const Demo& d : demos) {
      std::cout << "\n## " << d.title << "\n";
      d.run(ctx);
    }
  });
}

}  // namespace

bool RegisterFamily(const std::string& name, std::function<void(CLI::App&)> setup) {
  Families().push_back({name, std::move(setup)});
  return true;
}

bool RegisterDemo(int order, const std::string& title, std::function<void(DemoContext&)> run) {
  Demos().push_back({order, title, std::move(run)});
  return true;
}

int Run(int argc, char** argv) {
  CLI::App app{"kyn: the functions of kynbasepack from the shell"};
  app.require_subcommand(1);
  app.set_help_all_flag("--help-all", "Show the help of every subcommand");
  std::vector<Family> families = Families();
  std::sort(families.begin(), families.end(), [](const Family& a, const Family& b) { return a.name < b.name; });
  for (const Family& f : families) f.setup(app);
  AddDemoCommand(app);
  bool known = true;
  if (argc > 1 && argv[1][0] != '-') {
    try {
      app.get_subcommand(argv[1]);
    } catch (const CLI::OptionNotFound&) {
      known = false;
    }
  }
  if (!known) {
    std::cerr << "kyn: unknown subcommand '" << argv[1] << "'\n";
    std::cerr << "Run with --help for the list of subcommands.\n";
    return 2;
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    std::cerr << "kyn: " << e.what() << "\n";
    std::cerr << "Run with --help for more information.\n";
    return 2;
  } catch (const UsageError& e) {
    std::cerr << "kyn: " << e.what() << "\n";
    return 2;
  } catch (const Failure& e) {
    std::cerr << "kyn: " << e.what() << "\n";
    return e.status;
  } catch (const ExitStatus& e) {
    std::cout.flush();
    return e.status;
  } catch (const std::exception& e) {
    std::cerr << "kyn: " << e.what() << "\n";
    return 1;
  }
  std::cout.flush();
  return std::cout ? 0 : 1;
}

}  // namespace kyn::cli
