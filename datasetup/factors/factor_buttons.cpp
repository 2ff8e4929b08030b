// The category window's buttons and its window table.

#include "datasetup/factors/category_courses.h"
#include "datasetup/factors/category_steps.h"

namespace meridax {

std::string CategorySteps::Command2_Click(StepHost& /*host*/) {
  return FactorItemStep(CourseKind::kTurf, LiveRoutines());
}
std::string CategorySteps::Command3_Click(StepHost& /*host*/) {
  return FactorItemStep(CourseKind::kDirt, LiveRoutines());
}
std::string CategorySteps::Command4_Click(StepHost& /*host*/) {
  return FactorItemStep(CourseKind::kJump, LiveRoutines());
}

namespace {

using S = CategorySteps;
using enum ControlKind;

// Every button runs in the step frame: a file that cannot be read or written ends it with
// "<caption> エラー: ..." in Text1. The option buttons sit in Frame1 (boxes inside it).
constexpr ControlSpec kControls[] = {
    {"Command1", kButton, "抽出", {120, 120, 1455, 495}, Procedure<&S::Command1_Click>, true},
    {"Command2",
     kButton,
     "芝因子設定",
     {1680, 120, 1455, 495},
     Procedure<&S::Command2_Click>,
     true},
    {"Command3",
     kButton,
     "ダ因子設定",
     {3240, 120, 1455, 495},
     Procedure<&S::Command3_Click>,
     true},
    {"Command4",
     kButton,
     "障因子設定",
     {4800, 120, 1455, 495},
     Procedure<&S::Command4_Click>,
     true},
    {"Command5",
     kButton,
     "芝カテゴリー化",
     {6360, 120, 1695, 495},
     Procedure<&S::Command5_Click>,
     true},
    {"Command6",
     kButton,
     "ダカテゴリー化",
     {8160, 120, 1695, 495},
     Procedure<&S::Command6_Click>,
     true},
    {"Command7",
     kButton,
     "障カテゴリー化",
     {9960, 120, 1695, 495},
     Procedure<&S::Command7_Click>,
     true},
    {"Frame1", kFrame, "コース選択", {120, 720, 3735, 735}},
    {"Option1", kOptionButton, "芝", {120, 300, 975, 315}, nullptr, false, {}, "Frame1"},
    {"Option2", kOptionButton, "ダート", {1200, 300, 1215, 315}, nullptr, false, {}, "Frame1"},
    {"Option3", kOptionButton, "障害", {2520, 300, 1095, 315}, nullptr, false, {}, "Frame1"},
    {"Label1", kLabel, "抽出期間(例　200101->201401）から", {4080, 960, 3615, 315}},
    {"Text1", kTextBox, "Text1", {7800, 900, 2415, 435}},
    {"ItemCategoryFG",
     kGrid,
     "",
     {120, 1680, 14160, 7200},
     nullptr,
     false,
     {},
     {},
     kCategoryGridRows,
     kCategoryGridCols},
};

}  // namespace

const WindowSpec kCategoryWindow{"FormCATEGORYSETUP2025ZP",
                                 "CATEGORYSETUP20190101SETUPC",
                                 14400,
                                 9000,
                                 Create<CategorySteps>,
                                 kControls,
                                 Procedure<&S::Form_Load>};

}  // namespace meridax
