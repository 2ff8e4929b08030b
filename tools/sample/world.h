#pragma once

// The racing world behind the sample records: people, breeding horses, foals, racehorses,
// races with their runners and market sales, with every aggregate (finish counts, prize
// totals, yearly blocks) taken from the same runs, so that every key one file names
// exists in the file that owns it.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/sample/calendar.h"
#include "tools/sample/text.h"

namespace meridax::sample {

// kHalf is the realistic world at half its volume, for checking that steps scale linearly.
enum class Size { kSmall, kYear, kRealistic, kHalf };

// Faults put into the records on purpose; each is small and deterministic.
struct Hazards {
  bool duplicates = true;           // two and three records of one key (K K M, B A B A)
  bool droppedCategories = true;    // records whose data category the cleaning drops
  bool deregisteredUnraced = true;  // deregistered horses with no races
  bool bornBefore2010 = true;       // old horses and the old races they ran in
  bool jockeyTwoCourses = true;     // one rider, one day, two courses, same race and number
  bool breederPrefix = true;        // breeder codes that share their first six characters
  bool unknownKind = true;          // a record of a kind that no download routes
  bool damagedFile = true;          // a file the service reports damaged
  // Gaps of the earlier generation.
  bool earlierListedTwice = true;    // one id twice in the earlier horse list
  bool earlierNoRaceFile = true;     // a listed horse of the older era without its race file
  bool earlierRaceMissing = true;    // races of some runs missing from the earlier race file
  bool earlierJockeyMissing = true;  // a jockey who rode missing from the earlier jockey file
  bool earlierSaleMissing = true;    // a sold horse without its sales in the earlier sale file

  static Hazards None() {
    return {false, false, false, false, false, false, false,
            false, false, false, false, false, false};
  }
  bool Any() const {
    return duplicates || droppedCategories || deregisteredUnraced || bornBefore2010 ||
           jockeyTwoCourses || breederPrefix || unknownKind || damagedFile || earlierListedTwice ||
           earlierNoRaceFile || earlierRaceMissing || earlierJockeyMissing || earlierSaleMissing;
  }
};

enum Surface : std::uint8_t { kTurf = 0, kDirt = 1, kJump = 2 };

// Course kind of a two-digit track code.
Surface SurfaceOfTrack(int trackCode);

// Finish counts: 1st to 5th and out of the first five.
using Counts6 = std::array<std::int32_t, 6>;

// One run as every aggregate counts it.
struct RunFacts {
  int year = 0;
  Surface surface = kTurf;
  int trackRow = 0;        // 0..6 of a horse's track table
  int goingRow = 0;        // 0..11 of a horse's going table
  int distanceRow = -1;    // 0..5, -1 for jump races
  int courseRow = -1;      // 0..19 for flat runs at courses 01 to 10, else -1
  bool jra = true;         // at courses 01 to 10
  bool counted = true;     // false for a scratched runner
  int bucket = 5;          // 0..4 for 1st to 5th, 5 behind
  int style = -1;          // 0..3 running style, -1 when none
  std::int64_t prize = 0;  // hundreds of yen
  std::int64_t added = 0;
};

struct HorseCareer {
  Counts6 overall{}, jra{};
  std::array<Counts6, 7> track{};
  std::array<Counts6, 12> going{};
  std::array<Counts6, 6> distance{};
  std::array<std::int32_t, 4> style{};
  std::int64_t flatPrize = 0, jumpPrize = 0, flatAdded = 0, jumpAdded = 0;
  std::int64_t flatEarnings = 0, jumpEarnings = 0;
  int races = 0;
  void Add(const RunFacts& f);
};

// Results of a jockey or trainer over one period.
struct PersonBlock {
  int setYear = 0;
  std::int64_t flatPrize = 0, jumpPrize = 0, flatAdded = 0, jumpAdded = 0;
  Counts6 flat{}, jump{};
  std::array<Counts6, 20> course{};
  std::array<Counts6, 6> distance{};
  void Add(const RunFacts& f);
};

// Results of a breeder or owner over one period.
struct YearBlock {
  int setYear = 0;
  std::int64_t prize = 0, added = 0;
  Counts6 counts{};
  void Add(const RunFacts& f);
};

// A race won, as the person records list their recent graded wins.
struct GradedWin {
  int race = -1;   // index into World::races
  int horse = -1;  // index into World::horses
};

// First ride or first win, from the world when it lies there.
struct FirstRun {
  bool known = false;
  Date date;
  std::string course;  // racecourse code
  int meeting = 0, meetingDay = 0, raceNumber = 0, starters = 0;
  int horse = -1;  // index into World::horses, -1 when the horse is not in the world
  int finish = 0;
  char abnormality = '0';
};

// What jockey and trainer records share.
struct Person {
  std::string code;  // 5
  PersonName name;
  char sex = '1';
  char affiliation = '1';        // 1 east, 2 west, 3 local, 4 abroad
  Date birth, license, revoked;  // revoked.year == 0 while licensed
  std::string invitation;
  std::array<PersonBlock, 3> blocks;  // this year, last year, career
  std::vector<GradedWin> gradedWins;  // newest first, at most three
  char category = '2';
  Date created;
};

struct Trainer : Person {};

enum class JockeyKind : std::uint8_t { kActive, kLocal, kAbroad, kRetired };

struct Jockey : Person {
  JockeyKind kind = JockeyKind::kActive;
  char qualification = '1';  // 1 flat and jump, 2 flat, 3 jump
  char apprentice = '0';
  int trainer = -1;   // stable, -1 freelance
  double weight = 1;  // share of rides
  double skill = 0;
  std::array<FirstRun, 2> firstRides, firstWins;  // flat, jump
};

// What breeder and owner records share.
struct Holder {
  std::string code;  // breeders 8, owners 6
  Name name;
  std::string corporate;
  std::array<YearBlock, 2> results;  // this year, career
  char category = '2';
  Date created;
};

struct Breeder : Holder {
  std::string address;
};

struct Owner : Holder {
  std::string silks;
};

// Every horse born: the offspring record of its parents.
struct Foal {
  std::string horseId;  // 10, birth year first
  Date birth;
  char sex = '1';
  std::string coat;         // 2
  int sire = -1, dam = -1;  // indices into World::breeding; -1 unknown
  int breeder = -1;
  std::string birthplace;
  char importCode = '0';
  int importYear = 0;
  int horse = -1;     // index into World::horses when registered to race
  int breeding = -1;  // index into World::breeding when it went to stud
  Date created;
};

struct BreedingHorse {
  std::string number;  // 10
  int foal = -1;       // -1 for the founders of the population
  std::string horseId;
  Name name;
  int birthYear = 0;
  char sex = '1';  // 1 sire, 2 dam
  std::string coat;
  char importCode = '0';
  int importYear = 0;
  std::string birthplace;
  int sire = -1, dam = -1;
  double quality = 1;
  int lastFoalYear = 0;
  Date created;
};

struct Horse {
  int foal = -1;
  Name name;
  char sex = '1';  // 1 colt, 2 filly, 3 gelding
  std::string symbol = "00";
  int trainer = -1, owner = -1;
  Date registered, deregistered;  // deregistered.year == 0 while registered
  char deregistration = '0';
  char category = '4';
  Date created;
  HorseCareer career;
  double ability = 0;
  Surface aptitude = kTurf;
  int distancePreference = 1;  // 0 sprint, 1 mile, 2 long
  int style = 1;               // preferred running style 0..3
  int bodyWeight = 470;
  Date debut, retire;  // retire: last day it may run
  Date nextFree;       // first day it may run again
  int lastBodyWeight = 0;
  bool inWorld = false;
};

struct Race {
  Date date;
  std::string course;  // 2
  char category = '7';
  int meeting = 1, meetingDay = 1, raceNumber = 1;
  char weekday = '1';
  int track = 11, distance = 1600;
  char grade = ' ';
  std::string conditionKind = "13", conditionSymbol = "000";
  char weightKind = '3';
  std::array<std::string, 5> ageConditions;  // 2yo, 3yo, 4yo, 5yo and up, youngest
  std::string conditionName;
  Name name;  // empty for ordinary races
  int specialNumber = 0, edition = 0;
  std::string courseDivision = "  ";
  std::array<std::int64_t, 5> prize{};
  std::array<std::int64_t, 3> added{};
  int postTime = 1000;
  char weather = '1', turfGoing = '1', dirtGoing = '1';
  std::vector<int> laps;  // leader's furlong times, tenths
  int winnerTime = 0;     // tenths
  int registered = 0, starters = 0, finishers = 0;
  int firstRunner = 0, runnerCount = 0;  // into World::runners
  char recordUpdate = '0';
  Date created;
};

struct Runner {
  int race = -1, horse = -1, jockey = -1;
  int frame = 1, number = 1;
  int age = 3;
  int weightCarried = 550;  // tenths of a kilogram
  char blinker = '0';
  int bodyWeight = 0;  // 0 when not weighed
  char bodySign = ' ';
  int bodyChange = -1;     // -1 blank (first run)
  char abnormality = '0';  // 0 ran, 1 scratched, 4 did not finish
  int arrival = 0;         // 0 when not placed
  int time = 0;            // tenths
  std::string margin = "   ";
  std::array<int, 4> corners{};
  int odds = 0;  // tenths
  int popularity = 0;
  std::int64_t prize = 0, added = 0;
  int last3 = 0, last4 = 0;  // tenths
  int behind = 0;            // tenths; for the winner the lead over the second
  char style = '0';
  std::array<int, 3> opponents{-1, -1, -1};  // runner indices
  int miningTime = 0, miningPlus = 0, miningMinus = 0, miningRank = 0;
};

struct Sale {
  int horse = -1;
  std::string marketCode;  // 6
  int market = 0;          // which organiser and name
  Date start, end;
  int saleAge = 0;
  std::int64_t price = 0;  // yen
  Date created;
};

struct World {
  Size size = Size::kSmall;
  Hazards hazards;
  int firstYear = 0, lastYear = 0;  // race years of the world
  Date snapshot;                    // creation date of the master records
  std::vector<Trainer> trainers;
  std::vector<Jockey> jockeys;
  std::vector<Breeder> breeders;
  std::vector<Owner> owners;
  std::vector<BreedingHorse> breeding;
  std::vector<Foal> foals;
  std::vector<Horse> horses;
  std::vector<Race> races;
  std::vector<Runner> runners;
  std::vector<Sale> sales;
  // Breeders that share the first six characters of their code with another (hazard).
  std::vector<int> prefixBreeders;
  // Horses deregistered without a race (hazard).
  std::vector<int> unracedDeregistered;
  // The day one jockey rode at two courses with the same race and horse numbers.
  std::array<int, 2> twoCourseRunners{-1, -1};
};

// Builds the world of a size; the same seed and hazards give the same world.
World BuildWorld(Size size, std::uint64_t seed, const Hazards& hazards);

// What a runner contributes to the aggregates.
RunFacts FactsOf(const World& world, const Runner& runner);

}  // namespace meridax::sample
