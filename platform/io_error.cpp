#include "platform/io_error.h"

#include <cstring>

namespace meridax {
namespace {

std::string Describe(const std::string& what, const std::filesystem::path& path, int err) {
  std::string text = what + " " + path.string();
  if (err != 0) text += " (" + std::string(std::strerror(err)) + ")";
  return text;
}

}  // namespace

IoError::IoError(const std::string& what, const std::filesystem::path& path, int err)
    : std::runtime_error(Describe(what, path, err)), path_(path) {}

IoError::IoError(const IoError& failure, std::string_view note)
    : std::runtime_error(std::string(failure.what()).append(note)), path_(failure.path()) {}

std::string CurrentFailureText() {
  try {
    throw;
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "an exception of unknown kind";
  }
}

}  // namespace meridax
