#include "platform/io_error.h"

#include <cerrno>
#include <cstring>

#include "platform/drive.h"

namespace meridax {
namespace {

std::string Describe(const std::string& what, const std::filesystem::path& path, int err) {
  std::string text = what + " " + path.string();
  // The operator knows the host path, the system's messages and documents the drive-C: one.
  // Every file of the system ends in ".dat", so a name without an extension is a folder.
  if (const auto system = WindowsPath(path, !path.has_extension())) text += " (" + *system + ")";
  if (err != 0) text += ": " + ErrorCause(err);
  return text;
}

}  // namespace

IoError::IoError(const std::string& what, const std::filesystem::path& path, int err)
    : std::runtime_error(Describe(what, path, err)), path_(path) {}

IoError::IoError(const IoError& failure, std::string_view note)
    : std::runtime_error(std::string(failure.what()).append(note)), path_(failure.path()) {}

std::string ErrorCause(int err) {
  switch (err) {
    case ENOENT:
      return "ファイルまたはフォルダがありません";
    case ENOTDIR:
      return "フォルダの場所にファイルがあります";
    case EISDIR:
      return "ファイルの場所にフォルダがあります";
    case EACCES:
    case EPERM:
      return "権限がありません";
    case ENOSPC:
    case EDQUOT:
      return "ディスクがいっぱいです";
    case EROFS:
      return "読み取り専用のファイルシステムです";
    case ENAMETOOLONG:
      return "名前が長すぎます";
    case ELOOP:
      return "シンボリックリンクが循環しています";
    case EEXIST:
      return "同じ名前のものがすでにあります";
    case EIO:
      return "ディスクの読み書きに失敗しました";
    case EFBIG:
      return "ファイルが大きすぎます";
    case EMFILE:
    case ENFILE:
      return "開いているファイルが多すぎます";
    case EBUSY:
    case ETXTBSY:
      return "使用中です";
    default:
      break;
  }
  const char* symbol = ::strerrorname_np(err);
  return "システムのエラー " + std::to_string(err) + (symbol ? std::string(" ") + symbol : "");
}

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
