#include <algorithm>
#include <utility>

#include "tools/sample/builder.h"

namespace meridax::sample::build {

void Builder::Corners(Rng& rng, RaceRun& run) {
  const Race& race = run.race;
  std::vector<Runner>& field = run.field;
  // Positions at the corners follow the running style; one-turn races have two corners.
  const int corners = race.distance <= 1400 && !run.pr.jump ? 2 : 4;
  std::vector<int> runnersIn;
  for (int k = 0; k < run.n; ++k) {
    if (field[static_cast<std::size_t>(k)].abnormality != '1') runnersIn.push_back(k);
  }
  const int m = static_cast<int>(runnersIn.size());
  for (int c = 4 - corners; c < 4; ++c) {
    std::vector<std::pair<double, int>> v;
    for (int k : runnersIn) {
      const Runner& r = field[static_cast<std::size_t>(k)];
      const Horse& h = w_.horses[static_cast<std::size_t>(r.horse)];
      const double late = (c + 1) / 4.0;
      const double finishRank = r.arrival > 0 ? r.arrival : m + 1;
      v.push_back({h.style * (1.2 - late) + finishRank / m * late * 3 + rng.Unit() * 1.2, k});
    }
    std::stable_sort(v.begin(), v.end());
    for (std::size_t i = 0; i < v.size(); ++i) {
      field[static_cast<std::size_t>(v[i].second)].corners[static_cast<std::size_t>(c)] =
          static_cast<int>(i) + 1;
    }
  }
  // The style of the race from the first corner, and the last furlongs that follow from it.
  const int winnerLast3 = run.winnerLast3, winnerLast4 = run.winnerLast4;
  for (int k : runnersIn) {
    Runner& r = field[static_cast<std::size_t>(k)];
    if (r.abnormality != '0') continue;
    const int early = r.corners[static_cast<std::size_t>(4 - corners)];
    r.style = early == 1 ? '1' : early * 3 <= m ? '2' : early * 3 <= 2 * m ? '3' : '4';
    // Closers run the last furlongs faster than the leaders.
    static const double kGive[] = {0.95, 0.75, 0.5, 0.35};
    const double give = kGive[r.style - '1'];
    int last3 = winnerLast3 + static_cast<int>(r.behind > 0 ? r.behind * give : 0) +
                static_cast<int>(rng.Bell() * 3) + (r.style - '2');
    const int fastest = winnerLast3 - 12;
    last3 = std::clamp(last3, fastest, std::max(fastest, r.time - (race.distance - 600) * 10 / 19));
    if (r.arrival == 1) last3 = winnerLast3;
    r.last3 = last3;
    r.last4 = last3 + (winnerLast4 - winnerLast3) + rng.Range(-2, 4);
  }
}

}  // namespace meridax::sample::build
