#pragma once

// The builder of the sample world, shared by the files that build its parts: people,
// breeding, the calendar, a race's field, order and margins, corners, prizes, sales.
// Each part draws from a random stream of its own, so a change to one part leaves the
// others' draws as they were.

#include <algorithm>
#include <cstdint>
#include <map>
#include <numeric>
#include <tuple>
#include <unordered_set>
#include <utility>
#include <vector>

#include "tools/sample/world.h"
#include "tools/sample/world_params.h"

namespace meridax::sample::build {

constexpr const char* kLocalCourses[] = {"30", "35", "42", "43", "44", "45", "46", "47", "48"};
constexpr const char* kAbroadCourses[] = {"A4", "A6", "B8", "C0", "F0"};
constexpr const char* kCoats[] = {"01", "02", "03", "03", "03", "04", "04", "05", "06", "07"};

inline bool LeftHanded(int course) {
  return course == 4 || course == 5 || course == 7;
}

// Row of a horse's track table for a track code.
inline int TrackRow(int track) {
  if (track == 10) return 0;
  if (track <= 16) return 2;
  if (track <= 22) return 1;
  if (track == 29) return 3;
  if (track <= 28) return track % 2 == 0 ? 4 : 5;
  return 6;
}

inline int DistanceRow(Surface s, int distance) {
  if (s == kJump) return -1;
  const int band = distance <= 1600 ? 0 : distance <= 2200 ? 1 : 2;
  return (s == kDirt ? 3 : 0) + band;
}

// Heavy-tailed positive weight from plain arithmetic.
inline double Tail(Rng& rng) {
  const double u = rng.Unit();
  return 1.0 / (0.02 + u * u * u);
}

// Choice by weight, by binary search on running sums.
class Weighted {
 public:
  void Add(int item, double weight) {
    total_ += weight;
    sums_.push_back(total_);
    items_.push_back(item);
  }
  bool empty() const { return items_.empty(); }
  int Pick(Rng& rng) const {
    const double x = rng.Unit() * total_;
    const auto it = std::upper_bound(sums_.begin(), sums_.end(), x);
    const std::size_t i = std::min<std::size_t>(it - sums_.begin(), items_.size() - 1);
    return items_[i];
  }

 private:
  std::vector<double> sums_;
  std::vector<int> items_;
  double total_ = 0;
};

// Distinct whole numbers from [lo, hi] in random order.
std::vector<int> DistinctNumbers(Rng& rng, int lo, int hi, int n);

inline Date RandomDay(Rng& rng, int year, int fromMonth = 1, int toMonth = 12) {
  return {year, rng.Range(fromMonth, toMonth), rng.Range(1, 28)};
}

inline Date Min(Date a, Date b) {
  return a < b ? a : b;
}
inline Date Max(Date a, Date b) {
  return a < b ? b : a;
}

// Class of a race, lowest first.
enum Class : std::uint8_t {
  kNewcomer,
  kMaiden,
  kWin1,
  kWin2,
  kWin3,
  kOpen,
  kListed,
  kG3,
  kG2,
  kG1
};

// Prize money of places 1 to 5 as a share of the first prize.
inline constexpr double kPlaceShare[] = {1.0, 0.4, 0.25, 0.15, 0.1};

// First prize of a class, hundreds of yen.
std::int64_t FirstPrize(Class c, bool jump);

// The class's condition code of the age conditions.
const char* ClassCode(Class c);

struct Program {
  Class cls = kWin1;
  int minAge = 3, maxAge = 99;
  bool jump = false;
  bool turf = true;
  int distance = 0;  // metres; 0 draws one for the course kind
};

// Which horses a race day draws from.
enum class Pool : std::uint8_t {
  kCurrent,  // the racehorses of the world's years
  kOld,      // the horses of the old race days (hazard)
  kOlder,    // the horses of the older era
};

// A race in the making: what the steps of one race pass on to each other.
struct RaceRun {
  RaceRun(Race& r, const Program& p) : race(r), pr(p) {}
  Race& race;
  const Program& pr;
  Surface surface = kTurf;
  int n = 0;                  // runners
  int laps = 0;               // furlongs of the leader's times
  std::vector<Runner> field;  // by horse number
  std::vector<double> strength, perf;
  std::vector<int> order;  // finishers by arrival, indices into field
  std::vector<int> gaps;   // tenths behind the one before, by arrival
  int winnerLast3 = 0, winnerLast4 = 0;
};

class Builder {
 public:
  Builder(Size size, std::uint64_t seed, const Hazards& hazards);
  World Build();

 private:
  // Race days in date order, with their courses.
  struct Day {
    Date date;
    std::vector<int> courses;  // JRA course numbers
    bool local = false, abroad = false, old = false;
  };
  // Meeting numbers of a run of race days: (course, year) -> meeting, course -> block.
  struct Meetings {
    std::map<std::pair<int, int>, int> meeting;
    std::map<int, int> lastBlock;
  };

  // Calendar.
  void Calendar();
  void Races();
  void JraDay(Rng& rng, const Day& day, Meetings& meetings, int block, Pool pool);
  Program ProgramOf(Rng& rng, int raceNumber, int month, bool jumpToday) const;
  // People.
  void People();
  int ChooseTrainer(Rng& rng, Date from, Date to, bool active);
  void TwoCourseRider();
  // Breeding and horses.
  void Breeding();
  void NewFoal(Rng& rng, int year, int dam, int sire, bool filly, bool toStud, bool racehorse);
  void PlanHorse(Rng& rng, int horse, bool unraced);
  void History(Rng& rng, int horse);
  RunFacts SyntheticRun(Rng& rng, Surface s, int distanceRow, double ability, int wins, int style,
                        bool jra, int year) const;
  void OldHorses();
  int AddRetiredHorse(Rng& rng, int foal, Date firstRace);
  // The older era.
  void OlderEra();
  std::vector<Day> OlderDays() const;
  void OlderProgram(Rng& rng, int k, Program& pr) const;
  // A race's field.
  bool FillRace(Rng& rng, Race& race, const Program& pr, const std::vector<int>& jockeys,
                Pool pool);
  std::vector<int> PickHorses(Rng& rng, const Race& race, const Program& pr, int want, Pool pool);
  void RunRace(Rng& rng, Race& race, const Program& pr, std::vector<int> horses,
               const std::vector<int>& jockeys);
  void Course(Rng& rng, RaceRun& run);
  void Conditions(Rng& rng, RaceRun& run);
  void Going(RaceRun& run) const;
  void Laps(Rng& rng, RaceRun& run);
  void Field(Rng& rng, RaceRun& run, std::vector<int> horses, const std::vector<int>& jockeys);
  // Order and margins.
  void Order(Rng& rng, RaceRun& run);
  // Corners.
  void Corners(Rng& rng, RaceRun& run);
  // Prizes.
  void RacePrizes(RaceRun& run) const;
  void Odds(RaceRun& run) const;
  void Payouts(Rng& rng, RaceRun& run);
  // The whole world's aggregates and codes.
  void Aggregate();
  void Settle();
  void Sales();
  void Codes();

  WorldParams p_;
  Hazards hz_;
  Rng root_;
  const NameMaker& names_;
  World w_;
  std::vector<Day> days_;
  Date worldStart_, worldEnd_;
  Weighted breederPick_, ownerPick_;
  std::map<int, std::vector<int>> pools_;       // birth year -> horses running in the world
  std::vector<int> oldPool_;                    // horses of the old race days
  std::map<int, std::vector<int>> olderPools_;  // birth year -> horses of the older era
  std::map<std::tuple<int, int, int>, int> meetingDays_;
  int unracedLeft_ = 0;
  int specialNumber_ = 0;
};

}  // namespace meridax::sample::build
