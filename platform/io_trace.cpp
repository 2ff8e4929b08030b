#include "platform/io_trace.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <unordered_set>

namespace meridax {
namespace {

struct Trace {
  Trace() {
    if (const char* name = std::getenv("MERIDAX_IO_TRACE"); name && *name) {
      out = std::fopen(name, "a");
    }
  }
  ~Trace() {
    if (out) std::fclose(out);
  }
  std::FILE* out = nullptr;
  std::mutex mutex;
  std::unordered_set<std::string> seen;
};

Trace& TheTrace() {
  static Trace trace;
  return trace;
}

}  // namespace

void NoteFileRead(const std::filesystem::path& path) {
  Trace& trace = TheTrace();
  if (!trace.out) return;
  std::error_code ec;
  const std::string absolute = std::filesystem::absolute(path, ec).lexically_normal().string();
  std::lock_guard lock(trace.mutex);
  if (trace.seen.insert(absolute).second) {
    std::fputs(absolute.c_str(), trace.out);
    std::fputc('\n', trace.out);
  }
}

}  // namespace meridax
