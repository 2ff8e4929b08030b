#include "platform/record_map.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

#include "platform/io_error.h"
#include "platform/io_trace.h"
#include "platform/record_file.h"
#include "platform/staged_files.h"

namespace meridax {

RecordMap::RecordMap(const std::filesystem::path& path, std::size_t recordLength)
    : path_(path), recordLength_(recordLength) {
  if (recordLength == 0) throw std::invalid_argument("record length 0");
  const int fd = OpenOutputFile(path, O_RDONLY | O_CREAT, size_);
  if (fd < 0) throw IoError("開けません", path, errno);
  if (size_ > 0 && size_ <= kReadWholeBytes) {
    // Mapping and unmapping cost more than reading for the many small per-entity files.
    buffer_.resize(size_);
    std::uint64_t done = 0;
    while (done < size_) {
      const ssize_t n = ::pread(fd, buffer_.data() + done, size_ - done, static_cast<off_t>(done));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        const int err = n < 0 ? errno : EIO;
        ::close(fd);
        throw IoError("読み込めません", path, err);
      }
      done += static_cast<std::uint64_t>(n);
    }
    data_ = buffer_.data();
    NoteFileRead(path);
  } else if (size_ > 0) {
    void* map = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd, 0);
    if (map == MAP_FAILED) {
      const int err = errno;
      ::close(fd);
      throw IoError("読み込めません", path, err);
    }
    data_ = static_cast<const char*>(map);
    NoteFileRead(path);
  }
  ::close(fd);
  count_ = RecordCountOf(size_, recordLength_);
  const std::uint64_t lastStart = count_ > 0 ? (count_ - 1) * recordLength_ : 0;
  if (count_ > 0 && lastStart + recordLength_ > size_) {
    paddedLast_.assign(data_ + lastStart, size_ - lastStart);
    paddedLast_.resize(recordLength_, ' ');
  }
}

RecordMap::~RecordMap() {
  if (data_ && buffer_.empty()) ::munmap(const_cast<char*>(data_), size_);
}

std::string_view RecordMap::Record(std::int64_t n) const {
  if (n < 1 || n > count_) throw std::out_of_range("record number outside the file");
  if (n == count_ && !paddedLast_.empty()) return paddedLast_;
  return {data_ + static_cast<std::uint64_t>(n - 1) * recordLength_, recordLength_};
}

}  // namespace meridax
