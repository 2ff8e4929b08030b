#include "datasetup/preparation/qt/main_window_widget.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QStyle>
#include <QTimer>

#include "datafetch/register_windows.h"
#include "datasetup/register_windows.h"
#include "platform/data_folder_lock.h"
#include "platform/file_ops.h"
#include "records/horse_layouts.h"
#include "records/race_layouts.h"
#include "tests/support/record_fixture.h"
#include "tests/support/temp_drive.h"

namespace meridax {
namespace {

int TopLevelWindows(const char* className) {
  int n = 0;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->objectName() == className && w->isVisible()) ++n;
  }
  return n;
}

TEST(MainWindowTest, ControlsStandWhereAndAsTheWindowIsDrawn) {
  testing::TempDrive drive;
  FormMERIDAXPROJECTSETUP2025ZZ window;
  EXPECT_EQ(window.windowTitle().toStdString(), "MERIDAXPROJECT 20180101SETUPC");
  EXPECT_EQ(window.size(), QSize(372, 333));
  struct Control {
    const char* name;
    const char* caption;
    QRect rect;  // pixels: twips / 15
  } controls[] = {
      {"Command1", "RA(レース）", {8, 8, 105, 33}},
      {"Command2", "SE(詳細)", {8, 48, 105, 33}},
      {"Command3", "UM(競走馬)", {8, 88, 105, 33}},
      {"Command5", "SK（父産駒）", {8, 128, 105, 33}},
      {"Command7", "HN（繁殖）", {8, 168, 105, 33}},
      {"Command12", "KS(騎手）", {8, 208, 105, 33}},
      {"Command14", "CH/BR/BN", {8, 248, 105, 33}},
      {"Command4", "SK（母産駒）", {8, 288, 105, 33}},
      {"Command6", "SE/UM", {136, 88, 105, 33}},
      {"Command11", "SK/HN", {136, 128, 105, 36}},
      {"Command9", "MERIDAXEXPD", {136, 168, 105, 33}},
      {"Command15", "SE/KS", {136, 208, 105, 33}},
      {"Command10", "CATEGORY2006", {136, 248, 105, 33}},
      {"Command8", "血統Q、騎手", {136, 296, 105, 33}},
      {"Command13", "着差", {264, 88, 97, 33}},
      {"Command16", "", {264, 128, 97, 33}},
  };
  for (const auto& c : controls) {
    QPushButton* b = window.Button(c.name);
    ASSERT_NE(b, nullptr) << c.name;
    EXPECT_EQ(b->text().toStdString(), c.caption) << c.name;
    EXPECT_EQ(b->geometry(), c.rect) << c.name;
  }
  EXPECT_EQ(window.findChildren<QPushButton*>().size(), 16);
  EXPECT_EQ(window.Text1()->geometry(), QRect(136, 32, 153, 41));
}

TEST(MainWindowTest, ClicksRunStepsOpenWindowsOrDoNothing) {
  testing::TempDrive drive;
  FormMERIDAXPROJECTSETUP2025ZZ window;
  window.show();

  window.Button("Command1")->click();
  EXPECT_EQ(window.Text1()->text().toStdString(), "RA 終わり  0");
  window.Button("Command8")->click();
  EXPECT_EQ(window.Text1()->text().toStdString(), "終わり  0");
  window.Button("Command13")->click();  // "着差" shows no status of its own
  EXPECT_EQ(window.Text1()->text().toStdString(), "終わり  0");
  const struct {
    const char* control;
    const char* status;
  } emptyRuns[] = {{"Command12", "KS(騎手） 終わり  0"},
                   {"Command14", "CH(調教師） 終わり  0"},
                   {"Command6", "SE/UM 終わり  0"},
                   {"Command15", "SE/KS 終わり  0"}};
  for (const auto& run : emptyRuns) {
    window.Button(run.control)->click();
    EXPECT_EQ(window.Text1()->text().toStdString(), run.status) << run.control;
  }

  window.Text1()->setText("before");
  const int windowsBefore = static_cast<int>(QApplication::topLevelWidgets().size());
  window.Button("Command16")->click();
  EXPECT_EQ(window.Text1()->text().toStdString(), "before");
  EXPECT_EQ(static_cast<int>(QApplication::topLevelWidgets().size()), windowsBefore);

  {
    // A category window opened on an empty data folder reports its missing tables in a
    // message box; answer each with OK.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [] {
      if (QWidget* box = QApplication::activeModalWidget()) box->close();
    });
    answer.start(10);
    for (int i = 0; i < 3; ++i) window.Button("Command10")->click();
  }
  EXPECT_EQ(TopLevelWindows("FormCATEGORYSETUP2025ZP"), 3);
  window.Button("Command9")->click();
  EXPECT_EQ(TopLevelWindows("FormMERIDAXEXPDSETUP2025ZZ"), 1);
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->objectName() == "FormCATEGORYSETUP2025ZP") {
      EXPECT_EQ(w->windowTitle().toStdString(), "CATEGORYSETUP20190101SETUPC");
      EXPECT_EQ(w->parentWidget(), nullptr);  // without owner
    }
  }
  EXPECT_EQ(window.Text1()->text().toStdString(), "before");  // opening shows no status
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w != &window) w->close();
  }
}

TEST(MainWindowTest, ClicksWhileAStepRunsAreIgnored) {
  testing::TempDrive drive;
  using testing::MakeRecord;
  // A deregistered horse without races: the horse step lets the message loop run for it.
  testing::WriteRecords(drive.data() / "UM20190101.dat",
                        {MakeRecord(1609, {{records::um::DataCategory, "1"},
                                           {records::um::HorseId, "2016100001"},
                                           {records::um::DeregistrationCode, "1"},
                                           {records::um::RegisteredRaceCount, "000"}})});
  testing::WriteRecords(
      drive.data() / "RA20190101.dat",
      {MakeRecord(1272, {{records::ra::DataCategory, "7"}, {records::ra::RaceYear, "2019"}})});
  FormMERIDAXPROJECTSETUP2025ZZ window;
  window.show();

  bool clickedInside = false;
  QTimer::singleShot(0, &window, [&] {
    clickedInside = true;
    window.Button("Command1")->click();
    window.Button("Command10")->click();
  });
  window.Button("Command3")->click();
  ASSERT_TRUE(clickedInside);
  EXPECT_EQ(window.Text1()->text().toStdString(), "UM 終わり  1");
  EXPECT_FALSE(FileExists(drive.data() / "RA20190101NEW.dat"));
  EXPECT_EQ(TopLevelWindows("FormCATEGORYSETUP2025ZP"), 0);

  // Once the step has ended, the same click runs.
  window.Button("Command1")->click();
  EXPECT_EQ(window.Text1()->text().toStdString(), "RA 終わり  1");
  EXPECT_TRUE(FileExists(drive.data() / "RA20190101NEW.dat"));
}

// A wait for another program shows in the status box of the window that waits (or whose
// button opened the window that waits): every such box shows both waits whole, each its own.
TEST(MainWindowTest, EveryStatusBoxShowsEachWaitWhole) {
  WindowRegistry windows;
  RegisterDatasetupWindows(windows);
  RegisterDatafetchWindows(windows);
  ASSERT_NE(kWaitingForCommit, kWaitingForReaders);
  int boxes = 0;
  for (const WindowSpec* w : windows.Windows()) {
    const ControlSpec* text1 = FindControl(*w, "Text1");
    if (!text1) continue;
    ++boxes;
    QWidget window;  // as a window places its status box
    QLineEdit box(&window);
    box.setGeometry(
        TwipsRect(text1->box.left, text1->box.top, text1->box.width, text1->box.height));
    // Where the box draws its text: inside its frame and Qt's margin of 2 pixels a side.
    const int frame = box.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &box);
    const int room =
        box.width() - 2 * frame - box.textMargins().left() - box.textMargins().right() - 2 * 2;
    for (const std::string_view wait : {kWaitingForCommit, kWaitingForReaders}) {
      ShowStatusText(&box, wait);
      EXPECT_LE(box.fontMetrics().horizontalAdvance(box.text()), room)
          << w->className << ": " << wait;
    }
  }
  EXPECT_EQ(boxes, 4);  // datasetup's three windows and datafetch's
}

}  // namespace
}  // namespace meridax
