#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace meridax {

// A file operation that failed. Steps catch it, stop writing and report it in their status
// line, so the message names what failed and where: "開けません <host path> (<the path as the
// system names it>): <why>", the system's name only for a path on drive C: and the cause only
// when the system gave one (an errno).
class IoError : public std::runtime_error {
 public:
  IoError(const std::string& what, const std::filesystem::path& path, int err = 0);
  // The same failure, with a note after what it says.
  IoError(const IoError& failure, std::string_view note);
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Why a system call failed, for the operator: the common causes in Japanese ("権限がありません"),
// any other by its number and symbol, which the system's manuals name.
std::string ErrorCause(int err);

// What the exception being handled says, whatever its kind; for the last resort of a
// program, which must not end uncaught. Call only inside a catch block.
std::string CurrentFailureText();

}  // namespace meridax
