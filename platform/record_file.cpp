#include "platform/record_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <utility>

#include "platform/io_error.h"
#include "platform/io_trace.h"
#include "platform/staged_files.h"

namespace meridax {
namespace {

constexpr std::size_t kBufferBytes = 1 << 20;

}  // namespace

std::int64_t RecordCountOf(std::uint64_t length, std::size_t recordLength) {
  const std::uint64_t whole = length / recordLength;
  const std::uint64_t rest = length % recordLength;
  const std::uint64_t twice = rest * 2;
  if (twice > recordLength || (twice == recordLength && (whole % 2) == 1)) {
    return static_cast<std::int64_t>(whole + 1);
  }
  return static_cast<std::int64_t>(whole);
}

RecordFile::RecordFile(const std::filesystem::path& path, std::size_t recordLength)
    : path_(path), recordLength_(recordLength) {
  if (recordLength == 0) throw std::invalid_argument("record length 0");
  fd_ = OpenOutputFile(path, O_RDWR | O_CREAT, size_);
  if (fd_ < 0) throw IoError("開けません", path, errno);
}

RecordFile::~RecordFile() {
  try {
    Close();
  } catch (const IoError&) {
  }
}

RecordFile::RecordFile(RecordFile&& other) noexcept
    : path_(std::move(other.path_)),
      recordLength_(other.recordLength_),
      fd_(std::exchange(other.fd_, -1)),
      size_(other.size_),
      readBuf_(std::move(other.readBuf_)),
      readStart_(other.readStart_),
      writeBuf_(std::move(other.writeBuf_)),
      writeStart_(other.writeStart_),
      traced_(other.traced_) {}

RecordFile& RecordFile::operator=(RecordFile&& other) noexcept {
  if (this != &other) {
    try {
      Close();
    } catch (const IoError&) {
    }
    path_ = std::move(other.path_);
    recordLength_ = other.recordLength_;
    fd_ = std::exchange(other.fd_, -1);
    size_ = other.size_;
    readBuf_ = std::move(other.readBuf_);
    readStart_ = other.readStart_;
    writeBuf_ = std::move(other.writeBuf_);
    writeStart_ = other.writeStart_;
    traced_ = other.traced_;
  }
  return *this;
}

std::uint64_t RecordFile::OffsetOf(std::int64_t n) const {
  if (n < 1) throw std::out_of_range("record number below 1");
  return static_cast<std::uint64_t>(n - 1) * recordLength_;
}

void RecordFile::Read(std::int64_t n, std::string& out) {
  if (fd_ < 0) throw IoError("閉じています", path_);
  const std::uint64_t offset = OffsetOf(n);
  FlushWrites();
  out.assign(recordLength_, ' ');
  if (offset >= size_) return;
  if (offset < readStart_ || offset + recordLength_ > readStart_ + readBuf_.size()) {
    const std::uint64_t want = std::max<std::uint64_t>(kBufferBytes, recordLength_);
    readBuf_.resize(want);
    std::size_t got = 0;
    while (got < want) {
      const ssize_t r =
          ::pread(fd_, readBuf_.data() + got, want - got, static_cast<off_t>(offset + got));
      if (r < 0) {
        if (errno == EINTR) continue;
        readBuf_.clear();
        throw IoError("読み込めません", path_, errno);
      }
      if (r == 0) break;
      got += static_cast<std::size_t>(r);
    }
    readBuf_.resize(got);
    readStart_ = offset;
    if (!traced_) {
      NoteFileRead(path_);
      traced_ = true;
    }
  }
  const std::uint64_t from = offset - readStart_;
  const std::uint64_t avail = std::min<std::uint64_t>(recordLength_, readBuf_.size() - from);
  out.replace(0, avail, readBuf_, from, avail);
}

std::string RecordFile::Read(std::int64_t n) {
  std::string out;
  Read(n, out);
  return out;
}

void RecordFile::Write(std::int64_t n, std::string_view record) {
  if (fd_ < 0) throw IoError("閉じています", path_);
  if (record.size() != recordLength_) throw std::invalid_argument("record of wrong length");
  const std::uint64_t offset = OffsetOf(n);
  // Keep the read cache coherent with what is written.
  if (offset < readStart_ + readBuf_.size() && offset + recordLength_ > readStart_) {
    readBuf_.clear();
  }
  if (!writeBuf_.empty() &&
      (offset != writeStart_ + writeBuf_.size() || writeBuf_.size() >= kBufferBytes)) {
    FlushWrites();
  }
  if (writeBuf_.empty()) writeStart_ = offset;
  writeBuf_.append(record);
  size_ = std::max<std::uint64_t>(size_, offset + recordLength_);
}

void RecordFile::FlushWrites() {
  std::size_t done = 0;
  while (done < writeBuf_.size()) {
    const ssize_t r = ::pwrite(fd_, writeBuf_.data() + done, writeBuf_.size() - done,
                               static_cast<off_t>(writeStart_ + done));
    if (r < 0) {
      if (errno == EINTR) continue;
      writeBuf_.clear();
      throw IoError("書き込めません", path_, errno);
    }
    done += static_cast<std::size_t>(r);
  }
  writeBuf_.clear();
}

void RecordFile::Truncate(std::int64_t count) {
  if (fd_ < 0) throw IoError("閉じています", path_);
  FlushWrites();
  readBuf_.clear();
  const std::uint64_t length =
      static_cast<std::uint64_t>(std::max<std::int64_t>(count, 0)) * recordLength_;
  if (::ftruncate(fd_, static_cast<off_t>(length)) != 0) {
    throw IoError("切り詰められません", path_, errno);
  }
  size_ = length;
}

void RecordFile::Flush() {
  if (fd_ >= 0) FlushWrites();
}

void RecordFile::Close() {
  if (fd_ < 0) return;
  const int fd = fd_;
  try {
    FlushWrites();
  } catch (...) {
    fd_ = -1;
    ::close(fd);
    throw;
  }
  fd_ = -1;
  readBuf_.clear();
  if (::close(fd) != 0) throw IoError("閉じられません", path_, errno);
}

}  // namespace meridax
