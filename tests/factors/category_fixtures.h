#pragma once

// Small worlds for the category window's steps: extended run records, run files, horse
// lists, and routines that stand in for the live ones so a step's own rules show alone.

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "datasetup/common/extended_run_record.h"
#include "datasetup/factors/category_steps.h"
#include "datasetup/factors/factor_items.h"
#include "tests/factors/ex_fixture.h"
#include "tests/support/record_fixture.h"

namespace meridax::testing {

// A turf run that every filter accepts: January 2015 at racecourse "05" on track "10",
// 5.9 seconds behind, finished in 1:34.5. `fields` override it.
std::string AcceptedTurfRun(std::initializer_list<FieldValue> fields = {});

// Stand-ins for the live routines. Speed figures: Soha is "0000000" for a finish time of
// "0000" and fails for a blank one, else "1" and the finish time; Agari is "2" and the last
// three furlongs; Pace fails when Distance is blank, else "3" and the distance. Item k
// (1 to 28) is "k:" and the run's month-day and horse number, item 30 "h" and the horse
// number; item 5 fails when the horse number is "99"; item 29 is "p" and what item 30 of
// the item record holds before this run stores its own, so it shows what carries over.
std::span<const LiveRoutine> StandInRoutines();

// Clicks a control of the category window as the window does, in its step frame, with
// Text1 as the window holds it (the period typed, or the last status).
StepResult Press(CategorySteps& window, std::string_view control, StepHost& host);

// The factor item step of a kind with the given routines, in the step frame of its button.
StepResult RunFactorStep(CategorySteps& window, StepHost& host, CourseKind kind,
                         std::span<const LiveRoutine> routines);

}  // namespace meridax::testing
