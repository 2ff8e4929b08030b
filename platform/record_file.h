#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace meridax {

// Number of whole records in a file of `length` bytes: length / recordLength rounded to
// the nearest whole number, halves to the even number.
std::int64_t RecordCountOf(std::uint64_t length, std::size_t recordLength);

// A file of fixed-length records, opened for random access. Record n (from 1) starts at
// byte (n - 1) x L. Opening creates a missing file empty and never truncates; it fails
// (IoError) when the folder is missing. Reads and writes are buffered: sequential access
// costs one system call per buffer, not per record.
class RecordFile {
 public:
  RecordFile(const std::filesystem::path& path, std::size_t recordLength);
  ~RecordFile();  // flushes; errors there are lost, so call Close() to see them
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;
  RecordFile(RecordFile&& other) noexcept;
  RecordFile& operator=(RecordFile&& other) noexcept;

  std::size_t recordLength() const { return recordLength_; }
  const std::filesystem::path& path() const { return path_; }
  std::uint64_t Length() const { return size_; }
  std::int64_t Count() const { return RecordCountOf(size_, recordLength_); }

  // Reads record n into `out` (resized to L). Bytes past the end of the file read as
  // blanks, so the partial last record that rounding can count is padded.
  void Read(std::int64_t n, std::string& out);
  std::string Read(std::int64_t n);

  // Writes record n; `record` must be exactly L bytes. Writing past the end extends the
  // file (a gap reads back as NUL bytes, as the host leaves it).
  void Write(std::int64_t n, std::string_view record);

  // Cuts the file to `count` records.
  void Truncate(std::int64_t count);

  void Flush();
  void Close();
  bool IsOpen() const { return fd_ >= 0; }

 private:
  void FlushWrites();
  std::uint64_t OffsetOf(std::int64_t n) const;

  std::filesystem::path path_;
  std::size_t recordLength_ = 0;
  int fd_ = -1;
  std::uint64_t size_ = 0;
  // Read cache: bytes [readStart_, readStart_ + readBuf_.size()) of the file.
  std::string readBuf_;
  std::uint64_t readStart_ = 0;
  // Pending writes: one contiguous run starting at writeStart_.
  std::string writeBuf_;
  std::uint64_t writeStart_ = 0;
  bool traced_ = false;
};

}  // namespace meridax
