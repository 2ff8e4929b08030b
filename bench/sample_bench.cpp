// Time to write a sample world: the service folder and the expected raw files.
//   sample_bench [small|year|realistic]    (realistic when not given)
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "tools/sample/service.h"

int main(int argc, char** argv) {
  using namespace meridax::sample;
  const auto size = SizeNamed(argc > 1 ? argv[1] : "realistic");
  if (!size) {
    std::fprintf(stderr, "usage: sample_bench [small|year|realistic]\n");
    return 2;
  }
  std::string pattern = (std::filesystem::temp_directory_path() / "meridax-sample-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) return 1;
  const std::filesystem::path root = pattern;
  Options options;
  options.size = *size;
  options.out = root / "JVDATA";
  const auto start = std::chrono::steady_clock::now();
  const Summary summary = Generate(options);
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
  std::size_t records = 0;
  for (const auto& [kind, n] : summary.records) records += n;
  std::uintmax_t bytes = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    if (entry.is_regular_file()) bytes += entry.file_size();
  }
  std::printf("%s: %zu records, %.1f MB written in %.2f s\n", argv[1] ? argv[1] : "realistic",
              records, static_cast<double>(bytes) / 1e6, seconds.count());
  std::filesystem::remove_all(root);
  return 0;
}
