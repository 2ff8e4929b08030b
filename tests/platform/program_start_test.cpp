// The programs' start: the runtime folder Qt expects and Qt's own texts in Japanese.
#include "platform/qt/program_start.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDialogButtonBox>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QPushButton>
#include <QStandardPaths>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "tests/support/temp_drive.h"

namespace meridax {
namespace {

namespace fs = std::filesystem;

// Sets or clears an environment variable for one scope.
class EnvOverride {
 public:
  EnvOverride(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      ::setenv(name, value->c_str(), 1);
    } else {
      ::unsetenv(name);
    }
  }
  ~EnvOverride() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

std::vector<std::string> warnings;
void Collect(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtWarningMsg) warnings.push_back(text.toStdString());
}

mode_t ModeOf(const fs::path& p) {
  struct stat st {};
  return ::lstat(p.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

TEST(ProgramStartTest, WithoutARuntimeFolderAPrivateOneIsNamedAndQtDoesNotWarn) {
  testing::TempDrive temp(false);
  const fs::path folder = temp.root() / ("runtime-" + std::to_string(geteuid()));
  struct Case {
    const char* name;
    std::optional<mode_t> existing;  // the folder as found, if there
  };
  for (const Case& c :
       {Case{"absent", std::nullopt}, Case{"open to others", 0755}, Case{"private", 0700}}) {
    SCOPED_TRACE(c.name);
    fs::remove_all(folder);
    if (c.existing) {
      fs::create_directory(folder);
      ::chmod(folder.c_str(), *c.existing);
    }
    EnvOverride tmp("TMPDIR", temp.root().string());
    EnvOverride runtime("XDG_RUNTIME_DIR", std::nullopt);
    EnsureRuntimeFolder();
    ASSERT_NE(std::getenv("XDG_RUNTIME_DIR"), nullptr);
    EXPECT_EQ(fs::path(std::getenv("XDG_RUNTIME_DIR")), folder);
    EXPECT_EQ(ModeOf(folder), 0700u);
    warnings.clear();
    const QtMessageHandler old = qInstallMessageHandler(Collect);
    const QString location = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    qInstallMessageHandler(old);
    EXPECT_EQ(location.toStdString(), folder.string());
    EXPECT_TRUE(warnings.empty()) << warnings.front();
  }
}

TEST(ProgramStartTest, ARuntimeFolderSetIsKeptAndAnotherUsersIsNeverTaken) {
  testing::TempDrive temp(false);
  EnvOverride tmp("TMPDIR", temp.root().string());
  {
    EnvOverride runtime("XDG_RUNTIME_DIR", "/run/user/somewhere");
    EnsureRuntimeFolder();
    EXPECT_STREQ(std::getenv("XDG_RUNTIME_DIR"), "/run/user/somewhere");
  }
  // Another user's folder of that name is not taken for ours, nor another foreseeable one.
  const fs::path folder = temp.root() / ("runtime-" + std::to_string(geteuid()));
  fs::create_directory(folder);
  if (::chown(folder.c_str(), geteuid() + 1, static_cast<gid_t>(-1)) != 0) {
    GTEST_SKIP() << "cannot give a folder to another user here";
  }
  EnvOverride runtime("XDG_RUNTIME_DIR", std::nullopt);
  EnsureRuntimeFolder();
  ASSERT_NE(std::getenv("XDG_RUNTIME_DIR"), nullptr);
  const fs::path chosen = std::getenv("XDG_RUNTIME_DIR");
  EXPECT_EQ(chosen.parent_path(), temp.root());
  EXPECT_TRUE(chosen.filename().string().starts_with(folder.filename().string() + "-"));
  EXPECT_EQ(ModeOf(chosen), 0700u);
  warnings.clear();
  const QtMessageHandler old = qInstallMessageHandler(Collect);
  QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  qInstallMessageHandler(old);
  EXPECT_TRUE(warnings.empty()) << warnings.front();
}

TEST(ProgramStartTest, ARelativeTempFolderNamesAnAbsoluteRuntimeFolder) {
  testing::TempDrive temp(false);
  const fs::path cwd = fs::current_path();
  fs::current_path(temp.root());
  EnvOverride tmp("TMPDIR", "relative");
  EnvOverride runtime("XDG_RUNTIME_DIR", std::nullopt);
  fs::create_directory(temp.root() / "relative");
  EnsureRuntimeFolder();
  fs::current_path(cwd);
  ASSERT_NE(std::getenv("XDG_RUNTIME_DIR"), nullptr);
  EXPECT_EQ(fs::path(std::getenv("XDG_RUNTIME_DIR")),
            temp.root() / "relative" / ("runtime-" + std::to_string(geteuid())));
}

TEST(ProgramStartTest, QtsOwnTextsSpeakJapanese) {
  // The suites start as the programs do, so the translations are loaded here.
  QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Yes |
                           QDialogButtonBox::No);
  EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text().toStdString(), "キャンセル")
      << "scripts/setup-deps.sh installs Qt's translations";
  EXPECT_EQ(buttons.button(QDialogButtonBox::Yes)->text().toStdString(), "はい(&Y)");
  EXPECT_EQ(buttons.button(QDialogButtonBox::No)->text().toStdString(), "いいえ(&N)");
  // The folder browser's details view: a text the catalogue lacks.
  testing::TempDrive temp(false);
  EXPECT_EQ(QFileIconProvider()
                .type(QFileInfo(QString::fromStdString(temp.root().string())))
                .toStdString(),
            "フォルダ");
}

}  // namespace
}  // namespace meridax
