#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace meridax {

// A file of fixed-length records mapped for reading, for steps that read records by
// number in any order (the cleaning steps read them in sorted-key order, where a buffered
// reader would refill its buffer for almost every record). Opening creates a missing file
// empty, like RecordFile, and fails (IoError) when the folder is missing. The count is
// RecordFile's: the length divided by the record length, halves to even.
class RecordMap {
 public:
  RecordMap(const std::filesystem::path& path, std::size_t recordLength);
  ~RecordMap();
  RecordMap(const RecordMap&) = delete;
  RecordMap& operator=(const RecordMap&) = delete;

  std::int64_t Count() const { return count_; }
  std::size_t recordLength() const { return recordLength_; }

  // Record n, 1 to Count(); a partial last record is padded with blanks, as RecordFile
  // reads it. The view lives as long as the map.
  std::string_view Record(std::int64_t n) const;

 private:
  std::filesystem::path path_;
  std::size_t recordLength_ = 0;
  const char* data_ = nullptr;
  std::uint64_t size_ = 0;
  std::int64_t count_ = 0;
  std::string paddedLast_;
  std::string buffer_;  // the whole file, when it is small enough to read rather than map
  static constexpr std::uint64_t kReadWholeBytes = 256 * 1024;
};

}  // namespace meridax
