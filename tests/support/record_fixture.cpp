#include "tests/support/record_fixture.h"

#include <stdexcept>

#include "tests/support/temp_drive.h"

namespace meridax::testing {

std::string MakeRecord(std::size_t length, std::initializer_list<FieldValue> fields) {
  std::string record(length, ' ');
  record[length - 2] = '\r';
  record[length - 1] = '\n';
  for (const auto& f : fields) records::Put(record, f.field, f.text);
  return record;
}

void WriteRecords(const std::filesystem::path& path, const std::vector<std::string>& records) {
  std::string bytes;
  for (const auto& r : records) bytes += r;
  WriteFile(path, bytes);
}

void WriteIdList(const std::filesystem::path& path, const std::vector<std::string>& items) {
  std::string text;
  for (const auto& item : items) text += "\"" + item + "\"\r\n";
  WriteFile(path, text);
}

std::vector<std::string> ReadRecords(const std::filesystem::path& path, std::size_t length) {
  const std::string bytes = ReadFile(path);
  if (bytes.size() % length != 0) throw std::runtime_error("partial record in " + path.string());
  std::vector<std::string> records;
  for (std::size_t at = 0; at < bytes.size(); at += length)
    records.push_back(bytes.substr(at, length));
  return records;
}

}  // namespace meridax::testing
