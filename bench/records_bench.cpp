// Parse-and-store throughput of the download's hot path, per record kind.
#include <chrono>
#include <cstdio>
#include <string>

#include "records/parsers.h"

int main(int argc, char** argv) {
  using namespace meridax::records;
  const long count = argc > 1 ? std::atol(argv[1]) : 200000;
  for (const Layout* layout : kAllLayouts) {
    ParsedRecord sample(*layout);
    for (std::size_t i = 0; i < sample.size(); ++i) {
      sample.SetAt(i, std::string(static_cast<std::size_t>(sample.slots()[i].deliveredWidth),
                                  static_cast<char>('0' + i % 10)));
    }
    const std::string delivered = ToDelivered(sample);
    ParsedRecord parsed(*layout);
    std::string stored;
    std::size_t check = 0;
    const auto start = std::chrono::steady_clock::now();
    for (long n = 0; n < count; ++n) {
      Parse(delivered, parsed);
      ToFixed(parsed, stored);
      check += static_cast<unsigned char>(stored[static_cast<std::size_t>(n) % stored.size()]);
    }
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    std::printf("%.*s  %5zu fields  %8.0f records/s  (%zu)\n",
                static_cast<int>(layout->kind.size()), layout->kind.data(), parsed.size(),
                static_cast<double>(count) / seconds.count(), check);
  }
}
