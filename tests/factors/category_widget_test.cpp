// The category window with a display, over its steps.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QRadioButton>
#include <QTimer>

#include "datasetup/factors/category_steps.h"
#include "platform/drive.h"
#include "platform/file_ops.h"
#include "platform/qt/form_widget.h"
#include "tests/factors/category_fixtures.h"
#include "tests/support/temp_drive.h"

namespace meridax {
namespace {

namespace ex = extended_run;

std::string Cell(const GridView& grid, int row, int col) {
  return grid.Cells().data(grid.Cells().index(row, col), Qt::DisplayRole).toString().toStdString();
}

TEST(CategoryWidgetTest, RunsItsStepsFromTheControlsAndShowsTheGrid) {
  testing::TempDrive drive;
  testing::WriteIdList(DataPath("KETTONUM20190101.dat"), {"2016100001"});
  testing::WriteRuns("2016100001", {testing::AcceptedTurfRun()});
  // The load reports the missing OPTION1N tables in one message box: answer it.
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [] {
    if (QWidget* box = QApplication::activeModalWidget()) box->close();
  });
  answer.start(10);
  FormWidget window(kCategoryWindow, nullptr);
  answer.stop();
  auto& steps = static_cast<CategorySteps&>(window.steps());
  EXPECT_EQ(window.objectName().toStdString(), "FormCATEGORYSETUP2025ZP");
  EXPECT_EQ(window.windowTitle().toStdString(), "CATEGORYSETUP20190101SETUPC");
  EXPECT_EQ(steps.state().HorseIdCount, 1);
  EXPECT_EQ(window.Text1()->text().toStdString(), "Text1");
  EXPECT_EQ(window.Button("Command5")->text().toStdString(), "芝カテゴリー化");
  auto* option1 = window.findChild<QRadioButton*>("Option1");
  ASSERT_NE(option1, nullptr);
  EXPECT_EQ(option1->parentWidget()->objectName().toStdString(), "Frame1");
  EXPECT_FALSE(option1->isChecked());
  EXPECT_EQ(window.Grid()->Cells().rowCount(), 5700);
  EXPECT_EQ(window.Grid()->Cells().columnCount(), 60);

  option1->setChecked(true);
  window.Text1()->setText("201901");
  window.Button("Command1")->click();
  EXPECT_EQ(window.Text1()->text().toStdString(), "終わり");
  EXPECT_EQ(testing::ReadFile(DataPath("SIBA201901N.dat")), "\"2016100001\"\r\n");

  window.Button("Command2")->click();
  EXPECT_EQ(window.Text1()->text().toStdString(), "芝終わり");
  window.Text1()->setText("kept");
  window.Button("Command5")->click();
  EXPECT_EQ(window.Text1()->text().toStdString(), "kept");
  EXPECT_EQ(window.Grid()->Corner()->text().toStdString(), "芝IC");
  // The view shows the grid below its fixed row and column: item 1's first category.
  EXPECT_EQ(Cell(*window.Grid(), 0, 1), "1");
  EXPECT_EQ(Cell(*window.Grid(), 0, 0), steps.grid.TextMatrix(1, 1));
  EXPECT_EQ(Cell(*window.Grid(), 0, 0).substr(0, 4), "2015");

  // ダート with Text1 still showing the turf step's status: no period was given.
  window.Button("Command2")->click();
  window.findChild<QRadioButton*>("Option2")->setChecked(true);
  window.Button("Command1")->click();
  EXPECT_EQ(window.Text1()->text().toStdString().rfind("抽出 エラー: 期間を入力してください", 0),
            0u)
      << window.Text1()->text().toStdString();
  EXPECT_FALSE(FileExists(DataPath("DIRT芝終わりN.dat")));
  // Typed by the operator, the same words are a period; after the step they are its
  // status again.
  window.Button("Command2")->click();
  window.Text1()->selectAll();
  QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("芝終わり"));
  QApplication::sendEvent(window.Text1(), &typed);
  ASSERT_EQ(window.Text1()->text().toStdString(), "芝終わり");
  window.Button("Command1")->click();
  EXPECT_EQ(window.Text1()->text().toStdString(), "終わり");
  EXPECT_TRUE(FileExists(DataPath("DIRT芝終わりN.dat")));
  window.Button("Command2")->click();
  window.Button("Command1")->click();
  EXPECT_EQ(window.Text1()->text().toStdString().rfind("抽出 エラー: ", 0), 0u);
}

}  // namespace
}  // namespace meridax
