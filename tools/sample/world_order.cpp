#include <algorithm>
#include <numeric>
#include <string>

#include "tools/sample/builder.h"

namespace meridax::sample::build {

void Builder::Order(Rng& rng, RaceRun& run) {
  Race& race = run.race;
  std::vector<Runner>& field = run.field;
  // Order of arrival among those that finished.
  std::vector<int>& order = run.order;
  for (int k = 0; k < run.n; ++k) {
    if (field[static_cast<std::size_t>(k)].abnormality == '0') order.push_back(k);
  }
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    return run.perf[static_cast<std::size_t>(a)] > run.perf[static_cast<std::size_t>(b)];
  });
  run.winnerLast3 = std::accumulate(race.laps.end() - std::min(3, run.laps), race.laps.end(), 0);
  run.winnerLast4 = std::accumulate(race.laps.end() - std::min(4, run.laps), race.laps.end(), 0);
  int time = race.winnerTime;
  std::vector<int>& gaps = run.gaps;
  gaps.assign(order.size(), 0);
  for (std::size_t i = 0; i < order.size(); ++i) {
    Runner& r = field[static_cast<std::size_t>(order[i])];
    r.arrival = static_cast<int>(i) + 1;
    if (i > 0) {
      const double g = rng.Unit();
      int gap = g < 0.35   ? 0
                : g < 0.6  ? 1
                : g < 0.75 ? 2
                : g < 0.85 ? 3
                : g < 0.95 ? rng.Range(4, 6)
                           : rng.Range(7, 20);
      if (run.pr.jump) gap *= 2;
      gaps[i] = gap;
      time += gap;
    }
    r.time = time;
  }
  // Margins in lengths from the gap in tenths.
  static const char* const kNear[] = {"A  ", "H  ", "K  "};
  auto marginOf = [&](int gap) -> std::string {
    if (gap <= 0) return kNear[rng.Below(3)];
    static const char* const kCodes[] = {"1/2", "1  ", "112", "2  ", "3  ", "3  ",
                                         "4  ", "5  ", "6  ", "7  ", "8  ", "9  "};
    if (gap <= 12) return kCodes[gap - 1];
    return gap < 20 ? "10 " : "Z  ";
  };
  for (std::size_t i = 0; i < order.size(); ++i) {
    Runner& r = field[static_cast<std::size_t>(order[i])];
    if (i > 0) r.margin = marginOf(gaps[i]);
    r.behind = r.time - race.winnerTime;
  }
  if (order.size() > 1) {
    Runner& winner = field[static_cast<std::size_t>(order[0])];
    winner.margin = field[static_cast<std::size_t>(order[1])].margin;
    winner.behind = -(field[static_cast<std::size_t>(order[1])].time - race.winnerTime);
  }
}

}  // namespace meridax::sample::build
