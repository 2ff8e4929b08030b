// "計算" against its literal statement on generated worlds full of repeated keys: horses,
// races, jockeys and sales listed more than once, foals twice in a dam's file, runs at
// courses outside "01" to "10", horses missing from the tables and listed twice.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "datasetup/runhistory/run_history_steps.h"
#include "platform/drive.h"
#include "tests/runhistory/literal_builder.h"
#include "tests/runhistory/run_history_fixtures.h"
#include "tests/support/temp_drive.h"
#include "tests/support/window_steps.h"
#include "tools/sample/rng.h"

namespace meridax {
namespace {

using namespace testing;
namespace fs = std::filesystem;
namespace se = records::se;
namespace ra = records::ra;
namespace um = records::um;
namespace ks = records::ks;
namespace hs = records::hs;

std::string Digits(sample::Rng& rng, int width) {
  std::string s;
  for (int i = 0; i < width; ++i) s += static_cast<char>('0' + rng.Below(10));
  return s;
}

// A record of random letters and digits, CR LF at its end, so that every byte copied to
// the wrong place shows.
std::string Noise(sample::Rng& rng, std::size_t length) {
  std::string r(length, ' ');
  for (std::size_t i = 0; i + 2 < length; ++i) {
    r[i] = rng.Chance(0.1) ? ' ' : static_cast<char>('A' + rng.Below(26));
  }
  r[length - 2] = '\r';
  r[length - 1] = '\n';
  return r;
}

void WriteWorld(const fs::path& data, std::uint64_t seed) {
  sample::Rng rng(seed);
  const auto horseId = [](int h) { return "2014" + std::to_string(100000 + h); };
  const auto damOf = [](int d) { return "12000000" + std::to_string(10 + d); };
  constexpr int kHorses = 40, kDams = 6, kJockeys = 8, kRaceKeys = 25;
  const auto jockeyCode = [](int k) { return "0" + std::to_string(1000 + k); };
  struct RaceKey {
    std::string course, date, number;
  };
  std::vector<RaceKey> keys;
  for (int i = 0; i < kRaceKeys; ++i) {
    keys.push_back({rng.Chance(0.8) ? "0" + std::to_string(1 + rng.Below(9)) : "30",
                    "2017" + Digits(rng, 4), Digits(rng, 2)});
  }

  EarlierGeneration world;
  for (int h = 0; h < kHorses; ++h) {
    // Some horses missing from the horse table, some in it twice.
    const int copies = rng.Chance(0.15) ? 0 : rng.Chance(0.2) ? 2 : 1;
    for (int c = 0; c < copies; ++c) {
      std::string horse = Noise(rng, 1609);
      records::Put(horse, um::HorseId, horseId(h));
      records::Put(horse, um::Pedigree_BreedingNumber.In(2),
                   damOf(static_cast<int>(rng.Below(kDams + 2))));
      world.horses.push_back(horse);
    }
    if (rng.Chance(0.9)) world.list.push_back(horseId(h));
    if (rng.Chance(0.1)) world.list.push_back(horseId(h));
    const int sales = static_cast<int>(rng.Below(3));
    for (int s = 0; s < sales; ++s) {
      std::string sale = Noise(rng, 200);
      records::Put(sale, hs::HorseId, horseId(h));
      world.sales.push_back(sale);
    }
    const int runs = rng.Chance(0.15) ? 0 : static_cast<int>(rng.Below(7));
    if (runs == 0 && rng.Chance(0.5)) continue;  // no race file at all
    std::vector<std::string> file;
    for (int j = 0; j < runs; ++j) {
      std::string run = Noise(rng, 555);
      // Mostly its own id; now and then another horse's, so the horse of the key run counts.
      records::Put(run, se::HorseId,
                   horseId(rng.Chance(0.1) ? static_cast<int>(rng.Below(kHorses)) : h));
      const RaceKey& k = keys[rng.Below(kRaceKeys)];
      records::Put(run, se::RacecourseCode, rng.Chance(0.1) ? "11" : k.course);
      records::Put(run, se::RaceYear, k.date.substr(0, 4));
      records::Put(run, se::RaceMonthDay, k.date.substr(4));
      records::Put(run, se::RaceNumber, k.number);
      records::Put(run, se::JockeyCode, jockeyCode(static_cast<int>(rng.Below(kJockeys + 2))));
      file.push_back(run);
    }
    WriteRecords(RaceFileOf(data, horseId(h)), file);
  }
  for (const RaceKey& k : keys) {
    const int copies = rng.Chance(0.15) ? 0 : rng.Chance(0.2) ? 2 : 1;
    for (int c = 0; c < copies; ++c) {
      std::string race = Noise(rng, 1272);
      records::Put(race, ra::RacecourseCode, k.course);
      records::Put(race, ra::RaceYear, k.date.substr(0, 4));
      records::Put(race, ra::RaceMonthDay, k.date.substr(4));
      records::Put(race, ra::RaceNumber, k.number);
      world.races.push_back(race);
    }
  }
  for (int k = 0; k < kJockeys; ++k) {
    const int copies = rng.Chance(0.2) ? 2 : 1;
    for (int c = 0; c < copies; ++c) {
      std::string jockey = Noise(rng, 4161);
      records::Put(jockey, ks::JockeyCode, jockeyCode(k));
      world.jockeys.push_back(jockey);
    }
  }
  for (int d = 0; d < kDams; ++d) {
    std::vector<std::string> foals;
    const int n = static_cast<int>(rng.Below(12));
    for (int f = 0; f < n; ++f)
      foals.push_back(Foal(horseId(static_cast<int>(rng.Below(kHorses)))));
    WriteRecords(data / "HAHAHAN" / (damOf(d) + ".dat"), foals);
  }
  WriteEarlierGeneration(data, world);
}

TEST(BuilderDifferentialTest, WritesWhatTheLiteralStatementWrites) {
  for (std::uint64_t seed = 1; seed <= 6; ++seed) {
    TempDrive literal, built;
    WriteWorld(literal.data(), seed);
    WriteWorld(built.data(), seed);
    LiteralBuildExtendedRuns(literal.data());
    SetDriveRoot(built.root());
    RecordingHost host;
    RunHistorySteps window;
    Load(window, host);
    ASSERT_EQ(Click(kRunHistoryWindow, window, "Command1", host), StepResult::kOk);
    SetDriveRoot({});
    EXPECT_EQ(host.Status(), "終わり");
    const auto expected = FolderBytes(literal.data());
    const auto actual = FolderBytes(built.data());
    ASSERT_EQ(actual.size(), expected.size()) << "seed " << seed;
    for (const auto& [name, bytes] : expected) {
      const auto it = actual.find(name);
      ASSERT_NE(it, actual.end()) << name;
      EXPECT_TRUE(it->second == bytes) << "seed " << seed << ": " << name;
    }
  }
}

}  // namespace
}  // namespace meridax
