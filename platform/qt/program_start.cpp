#include "platform/qt/program_start.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QLibraryInfo>
#include <QLocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/io_error.h"
#include "platform/qt/widget_host.h"
#include "platform/staged_files.h"

namespace meridax {

QString MissingQtTexts::translate(const char* context, const char* sourceText,
                                  const char* /*disambiguation*/, int /*n*/) const {
  struct Text {
    std::string_view context;
    std::string_view source;
    const char* japanese;
  };
  static constexpr Text kTexts[] = {
      {"QAbstractFileIconProvider", "Folder", "フォルダ"},
      {"QAbstractFileIconProvider", "Drive", "ドライブ"},
      {"QAbstractFileIconProvider", "Shortcut", "ショートカット"},
      {"QAbstractFileIconProvider", "Unknown", "不明"},
  };
  if (!context || !sourceText) return {};
  for (const Text& t : kTexts) {
    if (t.context == context && t.source == sourceText) return QString::fromUtf8(t.japanese);
  }
  return {};  // left to the catalogue
}

namespace {

// A folder of ours for this user alone.
bool IsPrivateFolder(const std::string& folder) {
  struct stat st {};
  if (::lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != geteuid()) {
    return false;
  }
  return (st.st_mode & 0777) == 0700 || ::chmod(folder.c_str(), 0700) == 0;
}

std::string& MadeRuntimeFolder() {
  static std::string folder;
  return folder;
}

}  // namespace

void EnsureRuntimeFolder() {
  if (const char* set = std::getenv("XDG_RUNTIME_DIR"); set && *set) return;
  const char* tmp = std::getenv("TMPDIR");
  std::error_code ec;
  // Qt takes only an absolute runtime folder.
  std::filesystem::path base = std::filesystem::absolute(tmp && *tmp ? tmp : "/tmp", ec);
  if (ec) base = "/tmp";
  const std::string name = "runtime-" + std::to_string(static_cast<unsigned long>(geteuid()));
  std::string folder = (base / name).string();
  ::mkdir(folder.c_str(), 0700);
  if (!IsPrivateFolder(folder)) {
    // Someone else took the usual name first: a folder of a name nobody can foresee instead,
    // removed again when the program ends.
    std::string pattern = folder + "-XXXXXX";
    if (!::mkdtemp(pattern.data())) return;
    folder = pattern;
    if (MadeRuntimeFolder().empty()) {
      std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(MadeRuntimeFolder(), ignored);
      });
    } else {
      std::error_code ignored;
      std::filesystem::remove_all(MadeRuntimeFolder(), ignored);
    }
    MadeRuntimeFolder() = folder;
  }
  ::setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
}

QtProgram::Environment::Environment() {
  EnsureRuntimeFolder();
  // Qt's own widget dialogs everywhere: a desktop's native folder browser would speak the
  // desktop's language and ignore the cursor the program sets.
  QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
}

QtProgram::QtProgram(int& argc, char** argv) : app_(argc, argv) {
  if (!InstallJapaneseQtTexts(catalogue_, missing_)) {
    std::fprintf(stderr, "Qt の日本語の翻訳がありません (%s): 標準のボタンは英語で出ます\n",
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath).toLocal8Bit().constData());
  }
}

bool InstallJapaneseQtTexts(QTranslator& catalogue, MissingQtTexts& missing) {
  // "qt" names the catalogue of every Qt module installed, qtbase among them.
  const bool loaded = catalogue.load(QLocale(QLocale::Japanese, QLocale::Japan), "qt", "_",
                                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
                      QCoreApplication::installTranslator(&catalogue);
  // Installed last, so asked first.
  QCoreApplication::installTranslator(&missing);
  return loaded;
}

void FinishInterruptedCommitsAtStart() {
  try {
    CompleteInterruptedCommits();
  } catch (const IoError& e) {
    WidgetStepHost(nullptr, nullptr).ShowMessage(std::string("起動 エラー: ") + e.what());
  }
}

}  // namespace meridax
