#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTimer>

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

}  // namespace
}  // namespace meridax::datafetch
