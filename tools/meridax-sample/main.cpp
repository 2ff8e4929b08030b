// Writes a sample racing world as the data service's folder:
//   meridax-sample [--out DIR] [--earlier DATA] --size small|year|realistic|half --seed N
//                  [--no-hazards] [--expected PATH]
// Beside the service folder (DIR-expected unless --expected says otherwise) it writes the
// raw record files that a correct download of the folder produces. With --earlier it
// writes into the data folder DATA what comes from outside the system: the earlier
// generation "20180101" and the OPTION1N tables. At least one of --out and --earlier.

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>

#include "tools/sample/service.h"

namespace {

int Usage() {
  std::cerr << "usage: meridax-sample [--out DIR] [--earlier DATA] "
               "--size small|year|realistic|half --seed N [--no-hazards] [--expected PATH]\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace meridax::sample;
  Options options;
  bool haveSize = false, haveSeed = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
    if (arg == "--out" || arg == "--expected" || arg == "--earlier" || arg == "--size" ||
        arg == "--seed") {
      const char* v = value();
      if (!v) return Usage();
      if (arg == "--out") options.out = v;
      if (arg == "--earlier") options.earlier = v;
      if (arg == "--expected") options.expected = v;
      if (arg == "--size") {
        const auto size = SizeNamed(v);
        if (!size) {
          std::cerr << "meridax-sample: unknown size " << v << '\n';
          return Usage();
        }
        options.size = *size;
        haveSize = true;
      }
      if (arg == "--seed") {
        char* end = nullptr;
        errno = 0;
        options.seed = std::strtoull(v, &end, 10);
        // Too large a number would quietly become another seed.
        if (!end || *end != '\0' || *v == '\0' || *v == '-' || errno == ERANGE) {
          std::cerr
              << "meridax-sample: the seed is a whole number from 0 to 18446744073709551615, not "
              << v << '\n';
          return Usage();
        }
        haveSeed = true;
      }
    } else if (arg == "--no-hazards") {
      options.hazards = Hazards::None();
    } else if (arg == "-h" || arg == "--help") {
      Usage();
      return 0;
    } else {
      std::cerr << "meridax-sample: unknown argument " << arg << '\n';
      return Usage();
    }
  }
  if ((options.out.empty() && options.earlier.empty()) || !haveSize || !haveSeed) return Usage();

  const auto start = std::chrono::steady_clock::now();
  if (options.size != Size::kSmall) {
    options.progress = [start](const std::string& step) {
      const double s =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      std::cerr << "meridax-sample: " << step << " (" << static_cast<int>(s * 10) / 10.0 << " s)"
                << std::endl;
    };
  }
  try {
    const Summary summary = Generate(options);
    std::cout << summary.Line(options) << std::endl;
  } catch (const std::exception& e) {
    std::cerr << "meridax-sample: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
