// The sample generator's output as files: the same seed gives the same bytes, every record
// has the length of its kind, and each hazard is there exactly when it is asked for.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>
#include <stdexcept>
#include <string>

#include "datasetup/common/data_files.h"
#include "platform/text_file.h"
#include "records/parsers.h"
#include "tests/sample/service_files.h"
#include "tests/support/temp_drive.h"

namespace meridax {
namespace {

using sample::Hazards;
using sample::Size;
using testing::ByKind;
using testing::FolderBytes;
using testing::SampleFolder;
using testing::ServedRecords;
using testing::StoredRecords;

// Names that differ, or the first file whose bytes differ; empty when the trees agree.
std::string Difference(const std::map<std::string, std::string>& a,
                       const std::map<std::string, std::string>& b) {
  std::set<std::string> names;
  for (const auto& [n, _] : a) names.insert(n);
  for (const auto& [n, _] : b) names.insert(n);
  for (const auto& n : names) {
    if (!a.count(n) || !b.count(n)) return "only in one: " + n;
    if (a.at(n) != b.at(n)) return "bytes differ: " + n;
  }
  return {};
}

TEST(SampleGeneratorTest, TheSameSeedGivesTheSameBytes) {
  const SampleFolder a(Size::kSmall, 7, Hazards{});
  const SampleFolder b(Size::kSmall, 7, Hazards{});
  EXPECT_EQ(Difference(FolderBytes(a.service()), FolderBytes(b.service())), "");
  EXPECT_EQ(Difference(FolderBytes(a.expected()), FolderBytes(b.expected())), "");
  EXPECT_EQ(Difference(FolderBytes(a.earlier()), FolderBytes(b.earlier())), "");
  const SampleFolder c(Size::kSmall, 8, Hazards{});
  EXPECT_NE(Difference(FolderBytes(a.service()), FolderBytes(c.service())), "");
  EXPECT_NE(Difference(FolderBytes(a.earlier()), FolderBytes(c.earlier())), "");
}

TEST(SampleGeneratorTest, AnEarlierGenerationReplacesTheOneBeforeInTheSameFolder) {
  // The race file the gap leaves out must not stay behind from a generation without it.
  Hazards gap = Hazards::None();
  gap.earlierNoRaceFile = true;
  const SampleFolder a(Size::kSmall, 3, Hazards::None());
  sample::Options options;
  options.seed = 3;
  options.hazards = gap;
  options.earlier = a.earlier();
  sample::Generate(options);
  const SampleFolder fresh(Size::kSmall, 3, gap);
  EXPECT_EQ(Difference(FolderBytes(a.earlier()), FolderBytes(fresh.earlier())), "");
}

TEST(SampleGeneratorTest, AGenerationReplacesTheFilesOfAnEarlierOne) {
  SampleFolder a(Size::kSmall, 3, Hazards{});
  sample::Options options;
  options.seed = 3;
  options.hazards = Hazards::None();
  options.out = a.service();
  sample::Generate(options);
  const SampleFolder clean(Size::kSmall, 3, Hazards::None());
  EXPECT_EQ(Difference(FolderBytes(a.service()), FolderBytes(clean.service())), "");
  EXPECT_EQ(Difference(FolderBytes(a.expected()), FolderBytes(clean.expected())), "");
}

// A file that cannot be written fails the generation, and says why.
TEST(SampleGeneratorTest, AFileThatCannotBeWrittenFailsTheGenerationAndSaysWhy) {
  testing::TempDrive drive;
  sample::Options options;
  options.out = drive.root() / "JVDATA";
  options.expected = drive.root() / "expected";
  const auto race = options.expected / sample::RawFileName("RA");
  const struct {
    const char* name;
    std::filesystem::path file;
    bool folder;  // else a full disk under its name
    std::string why;
  } cases[] = {
      {"a folder where the race file belongs", race, true, "ファイルの場所にフォルダがあります"},
      {"an expected file on a full disk", race, false, "ディスクがいっぱいです"},
      {"a service file on a full disk", options.out / "D0001.dat", false, "ディスクがいっぱいです"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::create_directories(c.file.parent_path());
    std::filesystem::remove(c.file);  // as an earlier case's generation left it
    if (c.folder) {
      std::filesystem::create_directory(c.file);
    } else {
      std::filesystem::create_symlink("/dev/full", c.file);
    }
    std::string said;
    try {
      sample::Generate(options);
    } catch (const std::runtime_error& e) {
      said = e.what();
    }
    EXPECT_EQ(said, "cannot write " + c.file.string() + ": " + c.why);
    std::filesystem::remove(c.file);
  }
}

// Delivered lengths of the kinds the system does not keep.
std::size_t DeliveredLength(const std::string& kind) {
  if (const records::Layout* layout = records::LayoutOfKind(kind)) {
    return static_cast<std::size_t>(layout->deliveredLength);
  }
  if (kind == "Q1") return 120;
  if (kind == "Q2") return 300;
  if (kind == "se") return 555;
  return 0;
}

class SampleRecordsTest : public ::testing::TestWithParam<bool> {};

TEST_P(SampleRecordsTest, EveryRecordHasTheLengthOfItsKindAndEndsInCrLf) {
  const SampleFolder folder(Size::kSmall, 11, GetParam() ? Hazards{} : Hazards::None());
  const auto served = ServedRecords(folder.service());
  ASSERT_FALSE(served.empty());
  for (const auto& r : served) {
    const std::string kind = r.substr(0, 2);
    ASSERT_EQ(r.size(), DeliveredLength(kind)) << kind;
    ASSERT_TRUE(r.ends_with("\r\n")) << kind;
  }
  // The expected raw files hold every served record of their kind, as stored.
  const auto byKind = ByKind(served);
  for (const char* kind : sample::kStoredKinds) {
    const std::string bytes = testing::ReadFile(folder.expected() / sample::RawFileName(kind));
    const records::Layout& layout = *records::LayoutOfKind(kind);
    const std::size_t length = static_cast<std::size_t>(
        std::string_view(kind) == "HS" ? layout.deliveredLength : layout.storedLength);
    ASSERT_EQ(bytes.size() % length, 0u) << kind;
    EXPECT_EQ(bytes.size() / length, byKind.at(kind).size()) << kind;
    for (std::size_t at = length - 2; at < bytes.size(); at += length) {
      ASSERT_EQ(bytes.substr(at, 2), "\r\n") << kind << " at " << at;
    }
  }
  EXPECT_EQ(byKind.at("KS").front().size(), 4173u);
  EXPECT_EQ(byKind.at("CH").front().size(), 3862u);
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutHazards, SampleRecordsTest, ::testing::Bool());

// What a generated folder holds, for the hazard checks.
struct Corpus {
  bool damagedMarker = false;
  std::map<std::string, std::vector<std::string>> byKind;
  // The earlier generation: the horse list, the horses with race files, the keys of its
  // races and jockeys and the horses of its sales.
  std::vector<std::string> listed;
  std::set<std::string> raceFiles, earlierRaces, earlierJockeys, earlierSales;
  const std::vector<std::string>& Of(const std::string& kind) const {
    static const std::vector<std::string> kNone;
    const auto it = byKind.find(kind);
    return it == byKind.end() ? kNone : it->second;
  }
};

std::string Field(std::string_view record, records::FieldRef f) {
  return std::string(records::View(record, f));
}

std::string RaceKey(const std::string& r) {
  using namespace records;
  return Field(r, ra::RaceYear) + Field(r, ra::RaceMonthDay) + Field(r, ra::RacecourseCode) +
         Field(r, ra::RaceNumber);
}

// Keys of a kind with how many records each.
template <class KeyFn>
std::map<std::string, int> KeyCounts(const std::vector<std::string>& records, KeyFn key) {
  std::map<std::string, int> counts;
  for (const auto& r : records) ++counts[key(r)];
  return counts;
}

bool Duplicates(const Corpus& c) {
  using namespace records;
  const std::pair<const char*, FieldRef> keys[] = {
      {"SE", se::HorseId},     {"UM", um::HorseId},    {"HN", hn::BreedingNumber},
      {"SK", sk::HorseId},     {"KS", ks::JockeyCode}, {"CH", ch::TrainerCode},
      {"BR", br::BreederCode}, {"BN", bn::OwnerCode}};
  for (const auto& [kind, field] : keys) {
    const auto& v = c.Of(kind);
    bool twice = false;
    for (std::size_t i = 0; i + 1 < v.size(); ++i) {
      // One key in two records that differ in their header.
      if (Field(v[i], field) == Field(v[i + 1], field) &&
          v[i].substr(0, 11) != v[i + 1].substr(0, 11)) {
        twice = true;
      }
    }
    if (!twice) return false;
  }
  // The race records hold one key three times and the orders K K M and B A B A.
  const auto& ra = c.Of("RA");
  bool three = false, kkm = false, baba = false;
  for (std::size_t i = 0; i + 2 < ra.size(); ++i) {
    const std::string a = RaceKey(ra[i]), b = RaceKey(ra[i + 1]), d = RaceKey(ra[i + 2]);
    if (a == b && b == d) three = true;
    if (a == b && a < d) kkm = true;
    if (i + 3 < ra.size() && a == d && b == RaceKey(ra[i + 3]) && b < a) baba = true;
  }
  return three && kkm && baba;
}

bool DroppedCategories(const Corpus& c) {
  using namespace records;
  // Records in a category the cleaning drops, under a key no other record has.
  const auto lone = [&](const char* kind, FieldRef key, const std::string& categories) {
    const auto& v = c.Of(kind);
    const auto counts = KeyCounts(v, [&](const std::string& r) { return Field(r, key); });
    for (const auto& r : v) {
      if (categories.find(r[2]) != std::string::npos && counts.at(Field(r, key)) == 1) return true;
    }
    return false;
  };
  const auto& ra = c.Of("RA");
  const auto counts = KeyCounts(ra, RaceKey);
  bool entries = false;
  for (const auto& r : ra) entries = entries || (r[2] == '2' && counts.at(RaceKey(r)) == 1);
  return entries && lone("UM", um::HorseId, "0") && lone("HN", hn::BreedingNumber, "0") &&
         lone("SK", sk::HorseId, "0") && lone("KS", ks::JockeyCode, "0") &&
         lone("CH", ch::TrainerCode, "0");
}

bool DeregisteredUnraced(const Corpus& c) {
  using namespace records;
  for (const auto& r : c.Of("UM")) {
    if (Field(r, um::DeregistrationCode) == "1" && Field(r, um::RegisteredRaceCount) == "000") {
      return true;
    }
  }
  return false;
}

bool BornBefore2010(const Corpus& c) {
  using namespace records;
  // The older era has horses born before 2010 too, but no race before 2001.
  bool old = false, oldRaces = false;
  for (const auto& r : c.Of("UM")) old = old || Field(r, um::HorseId).substr(0, 4) < "2010";
  for (const auto& r : c.Of("RA")) oldRaces = oldRaces || Field(r, ra::RaceYear) < "2001";
  return old && oldRaces;
}

bool JockeyTwoCourses(const Corpus& c) {
  using namespace records;
  std::map<std::string, std::string> course;
  for (const auto& r : c.Of("SE")) {
    const std::string ride = Field(r, se::RaceYear) + Field(r, se::RaceMonthDay) +
                             Field(r, se::RaceNumber) + Field(r, se::HorseNumber) +
                             Field(r, se::JockeyCode);
    const auto [it, fresh] = course.emplace(ride, Field(r, se::RacecourseCode));
    if (!fresh && it->second != Field(r, se::RacecourseCode)) return true;
  }
  return false;
}

bool BreederPrefix(const Corpus& c) {
  std::map<std::string, std::set<std::string>> codes;
  for (const auto& r : c.Of("BR")) {
    const std::string code = Field(r, records::br::BreederCode);
    codes[code.substr(0, 6)].insert(code);
  }
  for (const auto& [prefix, set] : codes) {
    if (set.size() > 1) return true;
  }
  return false;
}

bool UnknownKind(const Corpus& c) {
  for (const auto& [kind, v] : c.byKind) {
    if (!records::LayoutOfKind(kind) && kind != "Q1" && kind != "Q2") return true;
  }
  return false;
}

bool DamagedFile(const Corpus& c) {
  return c.damagedMarker;
}

bool EarlierListedTwice(const Corpus& c) {
  return std::set<std::string>(c.listed.begin(), c.listed.end()).size() < c.listed.size();
}

bool EarlierNoRaceFile(const Corpus& c) {
  // Listed horses outside the current list, born before 2010, come with their race files.
  for (const auto& id : c.listed) {
    if (id < "2010" && !c.raceFiles.count(id)) return true;
  }
  return false;
}

// The runs of listed horses that the cleaning keeps, with what the earlier files lack.
struct EarlierGaps {
  bool race = false, jockey = false;
};
EarlierGaps RunGaps(const Corpus& c) {
  using namespace records;
  const std::set<std::string> listed(c.listed.begin(), c.listed.end());
  EarlierGaps gaps;
  for (const auto& r : c.Of("SE")) {
    if (std::string("7AB").find(r[2]) == std::string::npos) continue;
    if (!listed.count(Field(r, se::HorseId))) continue;
    const std::string key = Field(r, se::RacecourseCode) + Field(r, se::RaceYear) +
                            Field(r, se::RaceMonthDay) + Field(r, se::RaceNumber);
    if (!c.earlierRaces.count(key)) {
      gaps.race = true;
    } else if (!c.earlierJockeys.count(Field(r, se::JockeyCode))) {
      gaps.jockey = true;
    }
  }
  return gaps;
}

bool EarlierRaceMissing(const Corpus& c) {
  return RunGaps(c).race;
}

bool EarlierJockeyMissing(const Corpus& c) {
  return RunGaps(c).jockey;
}

bool EarlierSaleMissing(const Corpus& c) {
  const std::set<std::string> listed(c.listed.begin(), c.listed.end());
  for (const auto& r : c.Of("HS")) {
    const std::string id = Field(r, records::hs::HorseId);
    if (listed.count(id) && !c.earlierSales.count(id)) return true;
  }
  return false;
}

struct HazardCase {
  const char* name;
  bool Hazards::*flag;
  std::function<bool(const Corpus&)> present;
};

const HazardCase kHazards[] = {
    {"duplicates", &Hazards::duplicates, Duplicates},
    {"droppedCategories", &Hazards::droppedCategories, DroppedCategories},
    {"deregisteredUnraced", &Hazards::deregisteredUnraced, DeregisteredUnraced},
    {"bornBefore2010", &Hazards::bornBefore2010, BornBefore2010},
    {"jockeyTwoCourses", &Hazards::jockeyTwoCourses, JockeyTwoCourses},
    {"breederPrefix", &Hazards::breederPrefix, BreederPrefix},
    {"unknownKind", &Hazards::unknownKind, UnknownKind},
    {"damagedFile", &Hazards::damagedFile, DamagedFile},
    {"earlierListedTwice", &Hazards::earlierListedTwice, EarlierListedTwice},
    {"earlierNoRaceFile", &Hazards::earlierNoRaceFile, EarlierNoRaceFile},
    {"earlierRaceMissing", &Hazards::earlierRaceMissing, EarlierRaceMissing},
    {"earlierJockeyMissing", &Hazards::earlierJockeyMissing, EarlierJockeyMissing},
    {"earlierSaleMissing", &Hazards::earlierSaleMissing, EarlierSaleMissing},
};

Corpus Read(const SampleFolder& folder) {
  Corpus c;
  for (const auto& entry : std::filesystem::directory_iterator(folder.service())) {
    c.damagedMarker = c.damagedMarker || entry.path().extension() == ".damaged";
  }
  c.byKind = ByKind(ServedRecords(folder.service()));
  const std::filesystem::path data = folder.earlier();
  const auto at = [&](std::string_view name) { return PathBelow(data, name); };
  for (ItemReader ids(at(HorseIdListName(kEarlierGeneration))); !ids.AtEnd();) {
    c.listed.push_back(ids.Next());
  }
  for (const auto& entry : std::filesystem::directory_iterator(at(kHorseRaceFolder))) {
    c.raceFiles.insert(entry.path().stem().string());
  }
  using namespace records;
  for (const auto& r : StoredRecords(at(CleanedRecordFileName("RA", kEarlierGeneration)),
                                     kRaceLayout.storedLength)) {
    c.earlierRaces.insert(Field(r, ra::RacecourseCode) + Field(r, ra::RaceYear) +
                          Field(r, ra::RaceMonthDay) + Field(r, ra::RaceNumber));
  }
  for (const auto& r : StoredRecords(at(CleanedRecordFileName("KS", kEarlierGeneration)),
                                     kJockeyLayout.storedLength)) {
    c.earlierJockeys.insert(Field(r, ks::JockeyCode));
  }
  std::string line;
  for (LineReader lines(at(RawRecordFileName("HS", kEarlierGeneration))); lines.Next(line);) {
    ParsedHS sale;
    ParseHS(line, sale);
    c.earlierSales.insert(std::string(sale[hs::HorseId]));
  }
  return c;
}

TEST(SampleHazardsTest, EveryHazardIsPresentWhenAskedAndAbsentWithout) {
  const Corpus all = Read(SampleFolder(Size::kSmall, 5, Hazards{}));
  const Corpus none = Read(SampleFolder(Size::kSmall, 5, Hazards::None()));
  for (const auto& h : kHazards) {
    EXPECT_TRUE(h.present(all)) << h.name;
    EXPECT_FALSE(h.present(none)) << h.name;
  }
}

TEST(SampleHazardsTest, EachHazardIsSwitchedOnItsOwn) {
  for (const auto& h : kHazards) {
    Hazards only = Hazards::None();
    only.*h.flag = true;
    const Corpus c = Read(SampleFolder(Size::kSmall, 5, only));
    for (const auto& other : kHazards) {
      EXPECT_EQ(other.present(c), &other == &h) << "only " << h.name << ", checking " << other.name;
    }
  }
}

}  // namespace
}  // namespace meridax
