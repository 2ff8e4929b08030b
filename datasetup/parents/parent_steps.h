#pragma once

// The breeding steps of the main window. Each returns its status text and throws IoError
// when a folder is missing or a file cannot be read or written; what it rebuilds is
// staged, so a failed step leaves every earlier file as it was. The main window runs
// them in its step frame.

#include <string>

#include "datasetup/common/main_window_state.h"
#include "platform/step_host.h"

namespace meridax {

// "SK（母産駒）": the cleaned offspring file, the dam list, each dam's offspring
// finish-count blocks (HAHA) and totals (HAHAN), and OPTION1N\MARE.dat.
std::string DamOffspringStep(MainWindowState& state);

// "SK（父産駒）": the same for sires (SHUBOBA, SHUBOBAN, OPTION1N\STALLION.dat); it also
// writes the dam list, and the sire list.
std::string SireOffspringStep(MainWindowState& state);

// "SK/HN": one offspring record file per listed dam in HAHAHAN.
std::string MareOffspringStep(StepHost& host);

// "HN（繁殖）": the cleaned breeding-horse file and the female-line table.
std::string BreedingHorseStep(MainWindowState& state);

}  // namespace meridax
