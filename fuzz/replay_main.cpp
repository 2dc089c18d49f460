// Runs a fuzz target over files, or over every file in the folders given, so
// the seed corpus is exercised without libFuzzer.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {
int RunFile(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  if (!f) {
    std::fprintf(stderr, "cannot read %s\n", p.c_str());
    return 1;
  }
  std::vector<uint8_t> data((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(data.data(), data.size());
  return 0;
}
}  // namespace

int main(int argc, char** argv) {
  int files = 0;
  int failures = 0;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path p(argv[i]);
    if (std::filesystem::is_directory(p)) {
      for (const auto& e : std::filesystem::recursive_directory_iterator(p))
        if (e.is_regular_file()) { failures += RunFile(e.path()); ++files; }
    } else {
      failures += RunFile(p);
      ++files;
    }
  }
  std::printf("replayed %d inputs\n", files);
  if (files == 0) {
    std::fprintf(stderr, "no inputs found\n");
    return 1;
  }
  return failures ? 1 : 0;
}
