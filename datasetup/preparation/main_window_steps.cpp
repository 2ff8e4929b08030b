#include "datasetup/preparation/main_window_steps.h"

#include "datasetup/parents/parent_steps.h"

namespace meridax {

// The breeding steps (datasetup/parents) with the window's state.
std::string MainWindowSteps::Command4_Click(StepHost& /*host*/) {
  return DamOffspringStep(state_);
}
std::string MainWindowSteps::Command5_Click(StepHost& /*host*/) {
  return SireOffspringStep(state_);
}
std::string MainWindowSteps::Command7_Click(StepHost& /*host*/) {
  return BreedingHorseStep(state_);
}
std::string MainWindowSteps::Command11_Click(StepHost& host) {
  return MareOffspringStep(host);
}

namespace {

using S = MainWindowSteps;
using enum ControlKind;

// The twelve steps that write files run in the step frame, and so does "着差": it has no
// error rule of its own, but a missing folder is reported the same way instead of ending
// the program. Command16 has no procedure.
constexpr ControlSpec kControls[] = {
    {"Command1",
     kButton,
     "RA(レース）",
     {120, 120, 1575, 495},
     Procedure<&S::Command1_Click>,
     true},
    {"Command2", kButton, "SE(詳細)", {120, 720, 1575, 495}, Procedure<&S::Command2_Click>, true},
    {"Command3",
     kButton,
     "UM(競走馬)",
     {120, 1320, 1575, 495},
     Procedure<&S::Command3_Click>,
     true},
    {"Command5",
     kButton,
     "SK（父産駒）",
     {120, 1920, 1575, 495},
     Procedure<&S::Command5_Click>,
     true},
    {"Command7",
     kButton,
     "HN（繁殖）",
     {120, 2520, 1575, 495},
     Procedure<&S::Command7_Click>,
     true},
    {"Command12",
     kButton,
     "KS(騎手）",
     {120, 3120, 1575, 495},
     Procedure<&S::Command12_Click>,
     true},
    {"Command14",
     kButton,
     "CH/BR/BN",
     {120, 3720, 1575, 495},
     Procedure<&S::Command14_Click>,
     true},
    {"Command4",
     kButton,
     "SK（母産駒）",
     {120, 4320, 1575, 495},
     Procedure<&S::Command4_Click>,
     true},
    {"Text1", kTextBox, "", {2040, 480, 2295, 615}},
    {"Command6", kButton, "SE/UM", {2040, 1320, 1575, 495}, Procedure<&S::Command6_Click>, true},
    {"Command11", kButton, "SK/HN", {2040, 1920, 1575, 540}, Procedure<&S::Command11_Click>, true},
    {"Command9",
     kButton,
     "MERIDAXEXPD",
     {2040, 2520, 1575, 495},
     nullptr,
     false,
     "FormMERIDAXEXPDSETUP2025ZZ"},
    {"Command15", kButton, "SE/KS", {2040, 3120, 1575, 495}, Procedure<&S::Command15_Click>, true},
    {"Command10",
     kButton,
     "CATEGORY2006",
     {2040, 3720, 1575, 495},
     nullptr,
     false,
     "FormCATEGORYSETUP2025ZP"},
    {"Command8",
     kButton,
     "血統Q、騎手",
     {2040, 4440, 1575, 495},
     Procedure<&S::Command8_Click>,
     true},
    {"Command13", kButton, "着差", {3960, 1320, 1455, 495}, Procedure<&S::Command13_Click>, true},
    {"Command16", kButton, "", {3960, 1920, 1455, 495}},
};

}  // namespace

const WindowSpec kMainWindow{"FormMERIDAXPROJECTSETUP2025ZZ",
                             "MERIDAXPROJECT 20180101SETUPC",
                             5580,
                             4995,
                             Create<MainWindowSteps>,
                             kControls};

}  // namespace meridax
