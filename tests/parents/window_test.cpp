// The main window's breeding buttons run their steps.
#include <gtest/gtest.h>

#include <QApplication>

#include "datasetup/preparation/qt/main_window_widget.h"
#include "tests/parents/parent_fixtures.h"
#include "tests/support/record_fixture.h"
#include "tests/support/temp_drive.h"

namespace meridax {
namespace {

TEST(BreedingButtonsTest, EachButtonRunsItsStep) {
  testing::TempDrive drive;
  testing::WriteRecords(drive.data() / "SK20190101.dat",
                        {testing::Sk({"2016100001", "S000000001", "D000000001"}),
                         testing::Sk({"2016100002", "S000000001", "D000000001"})});
  FormMERIDAXPROJECTSETUP2025ZZ window;
  window.show();
  const auto clickShows = [&](const char* control, const char* status) {
    window.Button(control)->click();
    EXPECT_EQ(window.Text1()->text().toStdString(), status) << control;
  };
  clickShows("Command4", "SK母 終わり  0");
  clickShows("Command5", "SK父 終わり  0");
  clickShows("Command11", "SK/HN 終わり  2");
  clickShows("Command7", "HN 終わり  0 0");
  EXPECT_EQ(testing::ReadRecords(drive.data() / "HAHAHAN" / "D000000001.dat", 208).size(), 2u);
}

}  // namespace
}  // namespace meridax
