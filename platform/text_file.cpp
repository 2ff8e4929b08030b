#include "platform/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>

#include "platform/file_ops.h"
#include "platform/io_error.h"
#include "platform/io_trace.h"
#include "platform/staged_files.h"

namespace meridax {
namespace {

constexpr std::size_t kBufferBytes = 1 << 20;

}  // namespace

TextWriter::TextWriter(const std::filesystem::path& path, Mode mode) : path_(path) {
  const int flags = O_WRONLY | O_CREAT | (mode == Mode::kAppend ? O_APPEND : 0);
  std::uint64_t size = 0;
  fd_ = OpenOutputFile(path, flags, size);
  if (fd_ < 0) throw IoError("開けません", path, errno);
  // Emptied only when it holds something: a file cut to nothing is written out as soon as it
  // is closed on some file systems, and a staged temporary starts empty anyway.
  if (mode == Mode::kOutput && size > 0 && ::ftruncate(fd_, 0) != 0) {
    const int error = errno;
    ::close(fd_);
    fd_ = -1;
    throw IoError("開けません", path, error);
  }
}

TextWriter::~TextWriter() {
  try {
    Close();
  } catch (const IoError&) {
  }
}

void TextWriter::Separator() {
  if (lineStarted_) buf_.push_back(',');
  lineStarted_ = true;
}

TextWriter& TextWriter::Str(std::string_view text) {
  Separator();
  buf_.push_back('"');
  buf_.append(text);
  buf_.push_back('"');
  return *this;
}

TextWriter& TextWriter::Num(std::int64_t value) {
  Separator();
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  buf_.append(digits, end);
  return *this;
}

TextWriter& TextWriter::Bare(std::string_view text) {
  Separator();
  buf_.append(text);
  return *this;
}

TextWriter& TextWriter::EndLine() {
  buf_.append("\r\n");
  lineStarted_ = false;
  if (buf_.size() >= kBufferBytes) Flush();
  return *this;
}

TextWriter& TextWriter::Raw(std::string_view bytes) {
  buf_.append(bytes);
  if (buf_.size() >= kBufferBytes) Flush();
  return *this;
}

void TextWriter::Flush() {
  if (fd_ < 0) return;
  std::size_t done = 0;
  while (done < buf_.size()) {
    const ssize_t r = ::write(fd_, buf_.data() + done, buf_.size() - done);
    if (r < 0) {
      if (errno == EINTR) continue;
      buf_.clear();
      throw IoError("書き込めません", path_, errno);
    }
    done += static_cast<std::size_t>(r);
  }
  buf_.clear();
}

void TextWriter::Close() {
  if (fd_ < 0) return;
  try {
    Flush();
  } catch (...) {
    ::close(fd_);
    fd_ = -1;
    throw;
  }
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) throw IoError("閉じられません", path_, errno);
}

TextInput::TextInput(const std::filesystem::path& path) : path_(path) {
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) {
    const int err = errno;
    if (err == ENOENT && FolderExists(FolderOf(path))) {
      eof_ = true;
      return;
    }
    throw IoError("開けません", path, err);
  }
  NoteFileRead(path);
}

TextInput::~TextInput() {
  if (fd_ >= 0) ::close(fd_);
}

bool TextInput::Fill() {
  if (eof_) return false;
  buf_.resize(kBufferBytes);
  for (;;) {
    const ssize_t r = ::read(fd_, buf_.data(), kBufferBytes);
    if (r < 0) {
      if (errno == EINTR) continue;
      buf_.clear();
      pos_ = 0;
      throw IoError("読み込めません", path_, errno);
    }
    buf_.resize(static_cast<std::size_t>(r));
    pos_ = 0;
    if (r == 0) eof_ = true;
    return r > 0;
  }
}

int TextInput::Peek() {
  if (pos_ >= buf_.size() && !Fill()) return -1;
  return static_cast<unsigned char>(buf_[pos_]);
}

int TextInput::Get() {
  const int c = Peek();
  if (c >= 0) ++pos_;
  return c;
}

bool TextInput::AtEnd() {
  return Peek() < 0;
}

std::string ItemReader::Next() {
  std::string item;
  while (Peek() == ' ' || Peek() == '\t') Get();
  if (Peek() == '"') {
    Get();
    bool closed = false;
    for (int c = Get(); c >= 0; c = Get()) {
      if (c == '"') {
        closed = true;
        break;
      }
      item.push_back(static_cast<char>(c));
    }
    std::string rest;
    while (Peek() >= 0 && Peek() != ',' && Peek() != '\r' && Peek() != '\n') {
      rest.push_back(static_cast<char>(Get()));
    }
    while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\t')) rest.pop_back();
    if (!closed || !rest.empty()) {
      // Not cut short to another item: as it stands, quotes and all.
      item.insert(0, 1, '"');
      if (closed) item.append(1, '"').append(rest);
    }
  } else {
    while (Peek() >= 0 && Peek() != ',' && Peek() != '\r' && Peek() != '\n') {
      item.push_back(static_cast<char>(Get()));
    }
    while (!item.empty() && (item.back() == ' ' || item.back() == '\t')) item.pop_back();
  }
  const int delimiter = Get();
  if (delimiter == '\r' && Peek() == '\n') Get();
  lastEnd_ = delimiter == ',' ? End::kComma : delimiter < 0 ? End::kFile : End::kLine;
  return item;
}

bool LineReader::Next(std::string& line) {
  line.clear();
  if (AtEnd()) return false;
  for (int c = Get(); c >= 0; c = Get()) {
    if (c == '\r') {
      if (Peek() == '\n') Get();
      break;
    }
    if (c == '\n') break;
    line.push_back(static_cast<char>(c));
  }
  return true;
}

}  // namespace meridax
