#include "datasetup/factors/item_context.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/io_error.h"
#include "platform/io_trace.h"
#include "platform/record_file.h"

namespace meridax {

RunFile::RunFile(const std::filesystem::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) throw IoError("開けません", path, errno);
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    const int err = errno;
    ::close(fd);
    throw IoError("開けません", path, err);
  }
  bytes_.resize(static_cast<std::size_t>(st.st_size));
  std::size_t done = 0;
  while (done < bytes_.size()) {
    const ssize_t r =
        ::pread(fd, bytes_.data() + done, bytes_.size() - done, static_cast<off_t>(done));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) {
      const int err = r < 0 ? errno : 0;
      ::close(fd);
      throw IoError("読み込めません", path, err);
    }
    done += static_cast<std::size_t>(r);
  }
  ::close(fd);
  if (!bytes_.empty()) NoteFileRead(path);
  count_ = RecordCountOf(bytes_.size(), kExtendedRunLength);
  bytes_.resize(static_cast<std::size_t>(count_) * kExtendedRunLength, ' ');
}

std::string_view RunFile::Record(std::int64_t n) const {
  if (n < 1 || n > count_) return blanks_;
  return {bytes_.data() + static_cast<std::size_t>(n - 1) * kExtendedRunLength,
          static_cast<std::size_t>(kExtendedRunLength)};
}

}  // namespace meridax
