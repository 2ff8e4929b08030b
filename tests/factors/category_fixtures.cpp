#include "tests/factors/category_fixtures.h"

#include <array>

#include "datasetup/factors/category_courses.h"
#include "platform/drive.h"

namespace meridax::testing {

namespace ex = extended_run;
using records::View;

std::string AcceptedTurfRun(std::initializer_list<FieldValue> fields) {
  std::string run = ExRun({{ex::RaceYear, "2015"},
                           {ex::RaceMonthDay, "0110"},
                           {ex::RacecourseCode, "05"},
                           {ex::HorseId, "2016100001"},
                           {ex::HorseNumber, "03"},
                           {ex::FinishTime, "1345"},
                           {ex::Last3FurlongTime, "345"},
                           {ex::TimeBehindWinner, "+059"},
                           {ex::Distance, "1600"},
                           {ex::TrackCode, "10"}});
  for (const auto& f : fields) records::Put(run, f.field, f.text);
  return run;
}

namespace {

bool Blank(std::string_view text) {
  return text.find_first_not_of(' ') == std::string_view::npos;
}

std::string Soha(ItemContext& c) {
  const std::string_view finish = View(c.ReadCurrent(), ex::FinishTime);
  if (Blank(finish)) throw ItemAbandoned("blank finish time");
  return finish == "0000" ? "0000000" : "1" + std::string(finish);
}
std::string Agari(ItemContext& c) {
  return "2" + std::string(View(c.ReadCurrent(), ex::Last3FurlongTime));
}
std::string Pace(ItemContext& c) {
  const std::string_view distance = View(c.ReadCurrent(), ex::Distance);
  if (Blank(distance)) throw ItemAbandoned("blank distance");
  return "3" + std::string(distance);
}

template <int K>
std::string Item(ItemContext& c) {
  const std::string_view run = c.ReadCurrent();
  if constexpr (K == 29) {
    return "p" + std::string(View(*c.CurrentItemRecord, factor_item::Item(30)));
  }
  if constexpr (K == 30) return "h" + std::string(View(run, ex::HorseNumber));
  if (K == 5 && View(run, ex::HorseNumber) == "99") throw ItemAbandoned("item 5");
  return std::to_string(K) + ":" + std::string(View(run, ex::RaceMonthDay)) +
         std::string(View(run, ex::HorseNumber));
}

template <std::size_t... I>
constexpr std::array<LiveRoutine, 33> Table(std::index_sequence<I...>) {
  return {{{0, "AgariSpeed", &Agari},
           {0, "PaceSpeed", &Pace},
           {0, "SohaSpeed", &Soha},
           {static_cast<int>(I) + 1, "Item", &Item<static_cast<int>(I) + 1>}...}};
}

constexpr auto kStandIns = Table(std::make_index_sequence<30>{});

}  // namespace

std::span<const LiveRoutine> StandInRoutines() {
  return kStandIns;
}

StepResult Press(CategorySteps& window, std::string_view control, StepHost& host) {
  return RunControl(*FindControl(kCategoryWindow, control), window, host);
}

StepResult RunFactorStep(CategorySteps& window, StepHost& host, CourseKind kind,
                         std::span<const LiveRoutine> routines) {
  return RunStep(host, CourseOf(kind).factorCaption,
                 [&] { return window.FactorItemStep(kind, routines); });
}

}  // namespace meridax::testing
