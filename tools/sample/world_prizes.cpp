#include <algorithm>
#include <utility>

#include "tools/sample/builder.h"

namespace meridax::sample::build {

std::int64_t FirstPrize(Class c, bool jump) {
  static const std::int64_t flat[] = {70000,  55000,  77000,  110000, 150000,
                                      200000, 240000, 400000, 600000, 1500000};
  static const std::int64_t hurdle[] = {75000,  75000,  100000, 130000, 150000,
                                        170000, 200000, 350000, 450000, 660000};
  return (jump ? hurdle : flat)[c];
}

const char* ClassCode(Class c) {
  switch (c) {
    case kNewcomer:
      return "701";
    case kMaiden:
      return "703";
    case kWin1:
      return "005";
    case kWin2:
      return "010";
    case kWin3:
      return "016";
    default:
      return "999";
  }
}

void Builder::RacePrizes(RaceRun& run) const {
  Race& race = run.race;
  std::int64_t first = FirstPrize(run.pr.cls, run.pr.jump);
  if (race.category == 'A') first /= 3;
  if (race.category == 'B') first *= 2;
  for (int k = 0; k < 5; ++k) {
    race.prize[static_cast<std::size_t>(k)] =
        static_cast<std::int64_t>(static_cast<double>(first) * kPlaceShare[k] / 100) * 100;
  }
  if (race.grade != ' ') {
    race.added = {first / 50, first / 125, first / 200};
  }
}

void Builder::Odds(RaceRun& run) const {
  std::vector<Runner>& field = run.field;
  const int n = run.n;
  // Odds from strength; favourites are the strongest on paper.
  std::vector<double> w(static_cast<std::size_t>(n), 0);
  double sum = 0;
  for (int k = 0; k < n; ++k) {
    if (field[static_cast<std::size_t>(k)].abnormality == '1') continue;
    const double x = std::max(0.2, run.strength[static_cast<std::size_t>(k)] + 3);
    w[static_cast<std::size_t>(k)] = x * x * x * x;
    sum += w[static_cast<std::size_t>(k)];
  }
  std::vector<std::pair<int, int>> byOdds;
  for (int k = 0; k < n; ++k) {
    Runner& r = field[static_cast<std::size_t>(k)];
    if (r.abnormality == '1') continue;
    r.odds = std::clamp(static_cast<int>(7.8 * sum / w[static_cast<std::size_t>(k)]), 11, 9999);
    byOdds.push_back({r.odds, k});
  }
  std::stable_sort(byOdds.begin(), byOdds.end());
  for (std::size_t i = 0; i < byOdds.size(); ++i) {
    field[static_cast<std::size_t>(byOdds[i].second)].popularity = static_cast<int>(i) + 1;
  }
}

void Builder::Payouts(Rng& rng, RaceRun& run) {
  Race& race = run.race;
  std::vector<Runner>& field = run.field;
  const int n = run.n;
  int scratched = 0, stopped = 0;
  for (int k = 0; k < n; ++k) {
    Runner& r = field[static_cast<std::size_t>(k)];
    if (r.abnormality == '1') ++scratched;
    if (r.abnormality == '4') ++stopped;
    if (r.arrival >= 1 && r.arrival <= 5)
      r.prize = race.prize[static_cast<std::size_t>(r.arrival - 1)];
    if (r.arrival >= 1 && r.arrival <= 3)
      r.added = race.added[static_cast<std::size_t>(r.arrival - 1)];
    if (r.abnormality == '0') {
      r.miningTime = race.winnerTime * 10 + static_cast<int>(rng.Bell() * 40) + r.arrival * 8;
      r.miningPlus = rng.Range(10, 90);
      r.miningMinus = rng.Range(10, 90);
    }
  }
  std::vector<std::pair<int, int>> byMining;
  for (int k = 0; k < n; ++k) {
    if (field[static_cast<std::size_t>(k)].miningTime > 0) {
      byMining.push_back({field[static_cast<std::size_t>(k)].miningTime, k});
    }
  }
  std::stable_sort(byMining.begin(), byMining.end());
  for (std::size_t i = 0; i < byMining.size(); ++i) {
    field[static_cast<std::size_t>(byMining[i].second)].miningRank = static_cast<int>(i) + 1;
  }
  // The winner's opponent is the second; everyone else's the winner.
  const int base = race.firstRunner;
  const std::vector<int>& order = run.order;
  if (!order.empty()) {
    const int winner = base + order[0];
    for (int k = 0; k < n; ++k) {
      Runner& r = field[static_cast<std::size_t>(k)];
      if (r.abnormality == '1') continue;
      if (base + k == winner) {
        if (order.size() > 1) r.opponents[0] = base + order[1];
      } else {
        r.opponents[0] = winner;
      }
    }
  }
  race.registered = n;
  race.starters = n - scratched;
  race.finishers = n - scratched - stopped;
  race.recordUpdate = rng.Chance(0.01) ? '1' : '0';
  race.created = race.date.Plus(rng.Range(1, 4));
}

}  // namespace meridax::sample::build
