#include "tests/support/fake_window.h"

#include "platform/drive.h"
#include "platform/io_error.h"

namespace meridax::testing {

void FakeSteps::Form_Load(StepHost& host) {
  ++loads;
  list.AddItem("2016100001EX.dat");
  list.AddItem("2016100002EX.dat");
  grid.SetTextMatrix(0, 0, "項目 ");
  if (duringLoad) duringLoad(host);
}

StepResult FakeSteps::Command1_Click(StepHost& host) {
  ++clicks;
  grid.SetTextMatrix(1, 1, text1);
  grid.SetTextMatrix(1, 2, std::to_string(option));
  list.AddItem("entry " + std::to_string(clicks));
  host.SetStatus("終わり");
  return StepResult::kOk;
}

std::string FakeSteps::Command2_Click(StepHost& /*host*/) {
  grid.SetTextMatrix(3, 1, "before the failure");
  throw IoError("フォルダがありません", DataPath("NOSUCH"));
}

void FakeSteps::Command3_Click(StepHost& host) {
  if (during) during(host);
}

void FakeSteps::List1_Click(StepHost& /*host*/) {
  ++listClicks;
  grid.SetTextMatrix(2, 1, list.SelectedText());
}

namespace {

using enum ControlKind;
constexpr ControlSpec kControls[] = {
    {"Command1", kButton, "計算", {120, 120, 1200, 480}, Procedure<&FakeSteps::Command1_Click>},
    {"Command2",
     kButton,
     "失敗",
     {120, 720, 1200, 480},
     Procedure<&FakeSteps::Command2_Click>,
     true},
    {"Command3", kButton, "待つ", {120, 1320, 1200, 480}, Procedure<&FakeSteps::Command3_Click>},
    {"Command9", kButton, "開く", {120, 1920, 1200, 480}, nullptr, false, "FormFAKE"},
    {"Frame1", kFrame, "コース選択", {1500, 120, 1800, 1500}},
    {"Option1", kOptionButton, "芝", {120, 300, 1500, 300}, nullptr, false, {}, "Frame1"},
    {"Option2", kOptionButton, "ダート", {120, 660, 1500, 300}, nullptr, false, {}, "Frame1"},
    {"Option3", kOptionButton, "障害", {120, 1020, 1500, 300}, nullptr, false, {}, "Frame1"},
    {"Label1", kLabel, "期間", {3450, 120, 900, 300}},
    {"Text1", kTextBox, "Text1", {3450, 480, 2400, 360}},
    {"List1", kListBox, "", {120, 2580, 3000, 1500}, Procedure<&FakeSteps::List1_Click>},
    {"FakeFG", kGrid, "", {3450, 960, 3000, 3120}, nullptr, false, {}, {}, 4, 3},
};

}  // namespace

const WindowSpec kFakeWindow{"FormFAKE",
                             "FAKE窓",
                             6600,
                             4200,
                             Create<FakeSteps>,
                             kControls,
                             Procedure<&FakeSteps::Form_Load>};

}  // namespace meridax::testing
