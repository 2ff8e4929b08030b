#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "records/layout.h"

namespace meridax::testing {

struct FieldValue {
  records::FieldRef field;
  std::string_view text;
};

// A record of `length` bytes: blanks, the given fields, CR LF at the end.
std::string MakeRecord(std::size_t length, std::initializer_list<FieldValue> fields);

// Writes records back to back, as the download program stores them.
void WriteRecords(const std::filesystem::path& path, const std::vector<std::string>& records);

// Writes an id list: one quoted item and CR LF per line.
void WriteIdList(const std::filesystem::path& path, const std::vector<std::string>& items);

// The records of a file of fixed-length records.
std::vector<std::string> ReadRecords(const std::filesystem::path& path, std::size_t length);

}  // namespace meridax::testing
