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
#include <cstring>
#include <exception>
#include <iostream>
#include <string>
#include <string_view>

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
      if (!v) {
        std::cerr << "meridax-sample: " << arg << " needs a value\n";
        return Usage();
      }
      // An empty folder would quietly stand for no folder or the default one.
      if (*v == '\0') {
        std::cerr << "meridax-sample: the value of " << arg << " is empty\n";
        return Usage();
      }
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
        // Digits alone: strtoull skips leading blanks and negates after a minus, and too
        // large a number would quietly become another seed.
        const std::string_view digits(v);
        if (digits.find_first_not_of("0123456789") != std::string_view::npos || *end != '\0' ||
            errno == ERANGE) {
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
    errno = 0;
    if (!(std::cout << summary.Line(options) << std::endl)) {
      const int err = errno;
      std::cerr << "meridax-sample: the world was written, but its summary cannot be written to "
                   "standard output";
      if (err != 0) std::cerr << " (" << std::strerror(err) << ')';
      std::cerr << '\n';
      return 1;
    }
  } catch (const std::exception& e) {
    std::cerr << "meridax-sample: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
