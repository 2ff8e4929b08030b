// Throughput of a whole download: the folder stand-in serving a generated service folder,
// every record routed, parsed, built and written to the raw files.
//   download_bench [records-per-kind]
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "datafetch/main_window_steps.h"
#include "datafetch/progress_window_steps.h"
#include "platform/drive.h"
#include "platform/jvlink/folder_jvlink.h"
#include "records/parsers.h"

int main(int argc, char** argv) {
  using namespace meridax;
  const long perKind = argc > 1 ? std::atol(argv[1]) : 20000;
  std::string pattern = (std::filesystem::temp_directory_path() / "meridax-bench-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) return 1;
  const std::filesystem::path root = pattern;
  SetDriveRoot(root);
  std::filesystem::create_directories(root / "MERIDAXPROJECT");
  std::filesystem::create_directories(root / "JVDATA");

  std::uint64_t bytes = 0;
  long records = 0;
  for (const records::Layout* layout : records::kAllLayouts) {
    records::ParsedRecord parsed(*layout);
    for (std::size_t i = 0; i < parsed.size(); ++i) {
      parsed.SetAt(i, std::string(static_cast<std::size_t>(parsed.slots()[i].deliveredWidth),
                                  static_cast<char>('0' + i % 10)));
    }
    parsed.Set("RecordSpec", layout->kind);
    parsed.Set("LineEnd", "\r\n");
    const std::string delivered = records::ToDelivered(parsed);
    std::ofstream out(root / "JVDATA" / (std::string(layout->kind) + ".dat"), std::ios::binary);
    for (long n = 0; n < perKind; ++n) out << delivered;
    bytes += delivered.size() * static_cast<std::uint64_t>(perKind);
    records += perKind;
  }

  jvlink::FolderJVLink jv;
  datafetch::HeadlessProgressShower progress({});
  datafetch::MainWindow window(jv, progress);
  RecordingHost host;
  const auto start = std::chrono::steady_clock::now();
  const StepResult result = window.Command2_Click(host);
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
  std::printf("%ld records, %.1f MB in %.2f s: %.0f records/s, %.1f MB/s%s\n", records,
              static_cast<double>(bytes) / 1e6, seconds.count(),
              static_cast<double>(records) / seconds.count(),
              static_cast<double>(bytes) / 1e6 / seconds.count(),
              result == StepResult::kOk ? "" : " (failed)");
  std::filesystem::remove_all(root);
  return result == StepResult::kOk ? 0 : 1;
}
