#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tests/support/temp_drive.h"
#include "tools/sample/service.h"

namespace meridax::testing {

// A generated service folder and its expected raw files, and a data folder with the
// earlier generation, in a folder of its own that goes away with the object.
class SampleFolder {
 public:
  SampleFolder(sample::Size size, std::uint64_t seed, const sample::Hazards& hazards);
  ~SampleFolder();
  SampleFolder(const SampleFolder&) = delete;
  SampleFolder& operator=(const SampleFolder&) = delete;

  const std::filesystem::path& base() const { return base_; }
  std::filesystem::path service() const { return base_ / "JVDATA"; }
  std::filesystem::path expected() const { return base_ / "JVDATA-expected"; }
  std::filesystem::path earlier() const { return base_ / "MERIDAXPROJECT"; }
  const sample::Summary& summary() const { return summary_; }

 private:
  std::filesystem::path base_;
  sample::Summary summary_;
};

// The records of a service folder as they are served: data files in name order across the
// folder and `pending`, a damaged cached file replaced by its good copy, each record the
// bytes up to and including its CR LF.
std::vector<std::string> ServedRecords(const std::filesystem::path& service);

// The records of a file of fixed-length records.
std::vector<std::string> StoredRecords(const std::filesystem::path& file, int length);

// The same records by kind (their first two bytes).
std::map<std::string, std::vector<std::string>> ByKind(const std::vector<std::string>& records);

}  // namespace meridax::testing
