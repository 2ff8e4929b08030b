#pragma once

#include <string_view>

#include "datasetup/preparation/main_window_steps.h"

namespace meridax {

inline constexpr std::string_view kMainWindowClass = "FormMERIDAXPROJECTSETUP2025ZZ";
inline constexpr std::string_view kMainWindowCaption = "MERIDAXPROJECT 20180101SETUPC";
// Client area and the status box Text1, in twips.
inline constexpr int kMainWindowWidth = 5580;
inline constexpr int kMainWindowHeight = 4995;
struct TwipsBox {
  int left, top, width, height;
};
inline constexpr TwipsBox kText1Box{2040, 480, 2295, 615};

// The buttons of the main window. `step` is the method a click runs; null where the
// button opens another window (Command9, Command10), has no procedure (Command16) or
// its step is not built yet: such a click does nothing.
struct MainWindowButton {
  std::string_view control;
  std::string_view caption;
  TwipsBox box;
  StepResult (MainWindowSteps::*step)(StepHost&);
};

inline constexpr MainWindowButton kMainWindowButtons[] = {
    {"Command1", "RA(レース）", {120, 120, 1575, 495}, &MainWindowSteps::Command1_Click},
    {"Command2", "SE(詳細)", {120, 720, 1575, 495}, &MainWindowSteps::Command2_Click},
    {"Command3", "UM(競走馬)", {120, 1320, 1575, 495}, &MainWindowSteps::Command3_Click},
    {"Command5", "SK（父産駒）", {120, 1920, 1575, 495}, &MainWindowSteps::Command5_Click},
    {"Command7", "HN（繁殖）", {120, 2520, 1575, 495}, &MainWindowSteps::Command7_Click},
    {"Command12", "KS(騎手）", {120, 3120, 1575, 495}, &MainWindowSteps::Command12_Click},
    {"Command14", "CH/BR/BN", {120, 3720, 1575, 495}, &MainWindowSteps::Command14_Click},
    {"Command4", "SK（母産駒）", {120, 4320, 1575, 495}, &MainWindowSteps::Command4_Click},
    {"Command6", "SE/UM", {2040, 1320, 1575, 495}, &MainWindowSteps::Command6_Click},
    {"Command11", "SK/HN", {2040, 1920, 1575, 540}, &MainWindowSteps::Command11_Click},
    {"Command9", "MERIDAXEXPD", {2040, 2520, 1575, 495}, nullptr},
    {"Command15", "SE/KS", {2040, 3120, 1575, 495}, &MainWindowSteps::Command15_Click},
    {"Command10", "CATEGORY2006", {2040, 3720, 1575, 495}, nullptr},
    {"Command8", "血統Q、騎手", {2040, 4440, 1575, 495}, &MainWindowSteps::Command8_Click},
    {"Command13", "着差", {3960, 1320, 1455, 495}, &MainWindowSteps::Command13_Click},
    {"Command16", "", {3960, 1920, 1455, 495}, nullptr},
};

// The caption of a button (the error status of a step begins with it).
constexpr std::string_view CaptionOf(std::string_view control) {
  for (const auto& b : kMainWindowButtons) {
    if (b.control == control) return b.caption;
  }
  throw "unknown control";  // not a constant expression: fails the build
}

}  // namespace meridax
