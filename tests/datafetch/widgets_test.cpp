#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <string>
#include <vector>

#include "datafetch/qt/main_window_widget.h"
#include "platform/drive.h"
#include "platform/jvlink/qt/settings_dialog.h"
#include "tests/support/temp_drive.h"

namespace meridax::datafetch {
namespace {

TEST(DatafetchWidgetsTest, DownloadShowsTheProgressDialogUntilTheFilesAreIn) {
  testing::TempDrive drive;
  const auto pending = drive.root() / "JVDATA" / "pending";
  std::filesystem::create_directories(pending);
  const std::string race = "RA" + std::string(1268, '1') + "\r\n";
  testing::WriteFile(pending / "A.dat", race);
  testing::WriteFile(pending / "B.dat", race);

  jvlink::FolderJVLinkOptions options;
  options.perFileDelay = std::chrono::milliseconds(20);
  MainWindowWidget window(options);
  EXPECT_EQ(window.windowTitle().toStdString(), "KOVF1C：メイン");
  EXPECT_EQ(window.Command1()->text().toStdString(), "設定");
  EXPECT_EQ(window.Command2()->text().toStdString(), "2024年1月1日セットアップ");
  EXPECT_EQ(window.Command3()->text().toStdString(), "HSチェック");
  window.show();

  std::string caption;
  int interval = 0;
  QTimer probe;
  QObject::connect(&probe, &QTimer::timeout, [&] {
    if (auto* dialog = dynamic_cast<ProgressDialog*>(QApplication::activeModalWidget())) {
      caption = dialog->windowTitle().toStdString();
      interval = dialog->Timer1().interval();
    }
  });
  probe.start(1);
  window.Command2()->click();
  probe.stop();

  EXPECT_EQ(caption, "KOVF2C:ダウンロード");
  EXPECT_EQ(interval, 10);
  EXPECT_EQ(window.Text1()->text().toStdString(), "終了");
  EXPECT_EQ(window.Steps().DownloadCount(), 2);
  EXPECT_EQ(testing::ReadFile(drive.data() / "RA20190101.dat"), race + race);
}

TEST(DatafetchWidgetsTest, TheComponentSaysWhyItFailedInABoxOverTheWindowBeforeTheCode) {
  testing::TempDrive drive;  // neither a settings file nor the default service folder
  MainWindowWidget window;
  window.show();
  std::vector<std::string> boxes;
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [&] {
    QWidget* box = QApplication::activeModalWidget();
    if (!box) return;
    std::string text;
    for (const QLabel* label : box->findChildren<QLabel*>()) text += label->text().toStdString();
    boxes.push_back(box->parentWidget() == &window ? text : "elsewhere: " + text);
    box->close();
  });
  answer.start(1);
  window.Command2()->click();
  answer.stop();

  const std::string root = drive.root().string();
  EXPECT_EQ(boxes,
            (std::vector<std::string>{"サービスフォルダがありません " + root +
                                          "/JVDATA (C:\\JVDATA\\)。設定ファイル " + root +
                                          "/JVSTANDIN/settings.txt (C:\\JVSTANDIN\\settings.txt) "
                                          "がないため既定のフォルダです",
                                      "JVOpenエラー。RC=-211"}));
  EXPECT_EQ(window.Text1()->text().toStdString(), "終了");
}

TEST(DatafetchWidgetsTest, SettingsDialogReturnsTheFolderOnOk) {
  testing::TempDrive drive(false);
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    dialog->findChild<QLineEdit*>("serviceFolder")->setText("C:\\OTHER\\");
    dialog->accept();
  });
  EXPECT_EQ(jvlink::ShowSettingsDialog(nullptr, "C:\\JVDATA\\"), "C:\\OTHER\\");
  QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
  EXPECT_EQ(jvlink::ShowSettingsDialog(nullptr, "C:\\JVDATA\\"), std::nullopt);

  EXPECT_EQ(jvlink::FolderSetting(drive.root() / "JVDATA" / "X"), "C:\\JVDATA\\X\\");
  EXPECT_EQ(jvlink::FolderSetting(drive.root()), "C:\\");
  EXPECT_EQ(jvlink::FolderSetting("/elsewhere/data"), "/elsewhere/data");
}

// What a dialog shows the operator: its title, the texts of its buttons and labels, and
// whether the busy cursor stands over it.
struct Seen {
  std::string title;
  std::vector<std::string> texts;
  bool busyCursor = false;
  QFileDialog::ViewMode view = QFileDialog::Detail;
};

Seen Look(QDialog* dialog) {
  Seen seen{dialog->windowTitle().toStdString(), {}, false};
  for (auto* button : dialog->findChildren<QPushButton*>()) {
    seen.texts.push_back(button->text().toStdString());
  }
  for (auto* label : dialog->findChildren<QLabel*>()) {
    seen.texts.push_back(label->text().toStdString());
  }
  const QCursor* cursor = QApplication::overrideCursor();
  seen.busyCursor = cursor && cursor->shape() == Qt::WaitCursor;
  return seen;
}

bool Has(const Seen& seen, const std::string& text) {
  return std::find(seen.texts.begin(), seen.texts.end(), text) != seen.texts.end();
}

TEST(DatafetchWidgetsTest, TheSettingsDialogAndItsFolderBrowserAreJapaneseAndNotBusy) {
  testing::TempDrive drive(false);
  MainWindowWidget window;
  window.show();
  Seen settings;
  Seen browser;
  // 設定 runs as a step (the busy cursor); its dialog and the browser opened from it wait
  // for the operator.
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    settings = Look(dialog);
    QTimer::singleShot(0, [&] {
      auto* folders = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(folders, nullptr);
      browser = Look(folders);
      browser.view = folders->viewMode();
      folders->reject();
    });
    for (auto* button : dialog->findChildren<QPushButton*>()) {
      if (button->text().toStdString() == "参照...") button->click();
    }
    dialog->reject();
  });
  window.Command1()->click();

  EXPECT_EQ(settings.title, "サービスフォルダの設定");
  EXPECT_TRUE(Has(settings, "キャンセル")) << "scripts/setup-deps.sh installs Qt's translations";
  EXPECT_FALSE(settings.busyCursor);
  EXPECT_EQ(browser.title, "ディレクトリの検索");
  EXPECT_TRUE(Has(browser, "アドレス:"));  // "Look in:"
  EXPECT_TRUE(Has(browser, "キャンセル"));
  EXPECT_EQ(browser.view, QFileDialog::List);
  EXPECT_FALSE(browser.busyCursor);
  for (const Seen* seen : {&settings, &browser}) {
    for (const std::string& text : seen->texts) {
      for (const char* english :
           {"Cancel", "&Choose", "Look in:", "Directory:", "Files of type:"}) {
        EXPECT_NE(text, english) << seen->title;
      }
    }
  }
  // The step's busy cursor is gone with the step.
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace meridax::datafetch
