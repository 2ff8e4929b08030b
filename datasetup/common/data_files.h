#pragma once

// The names of the files and folders of the data folder, each built in one place. A name is
// the cp932 text the system uses under the data folder ("OPTION1N\\KYOSOBA.dat"); its host
// path is DataPath(name).

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "datasetup/common/paths.h"

namespace meridax {

// ---- Folders (they must exist; nothing creates them) ----
inline constexpr std::string_view kOptionFolder = "OPTION1N";
inline constexpr std::string_view kMareOffspringFolder = "HAHAHAN";  // per dam, SK records
inline constexpr std::string_view kDamBlockFolder = "HAHA";          // per dam, finish counts
inline constexpr std::string_view kDamTotalsFolder = "HAHAN";
inline constexpr std::string_view kSireBlockFolder = "SHUBOBA";
inline constexpr std::string_view kSireTotalsFolder = "SHUBOBAN";
inline constexpr std::string_view kHorseBlockFolder = "KYOSOBA";
inline constexpr std::string_view kHorseVectorFolder = "KYOSOBAN";
inline constexpr std::string_view kHorseRaceFolder = "UMAGOTOSETUP";
inline constexpr std::string_view kExtendedRunFolder = "UMAGOTOEXSETUP";
inline constexpr std::string_view kJockeyRaceFolder = "KISHUGOTOSETUP";
inline constexpr std::string_view kJockeyPlaceFolder = "KISHUFUKUSHO";

// The host path of one entity's file in a per-entity folder ("UMAGOTOSETUP\\<id>.dat"),
// named by the one file-id rule (file_ids.h); none when the id cannot name a file.
std::optional<std::filesystem::path> EntityFilePath(std::string_view folder, std::string_view id,
                                                    std::string_view ending = ".dat");
// "C:\\MERIDAXPROJECT\\UMAGOTOSETUP\\": a per-entity folder as a drive path ending in a
// separator, the form the entity upsert names its files by.
std::string EntityFolderPrefix(std::string_view folder);
// "<HorseId>EX.dat": the name of a horse's extended run file in its folder, also the
// run-history list's entry for the horse.
std::string ExtendedRunEntry(std::string_view horseId);
// "UMAGOTOEXSETUP\\<HorseId>EX.dat" on the host; none when the id cannot name a file.
std::optional<std::filesystem::path> ExtendedRunFilePath(std::string_view horseId);

// ---- Record files and id lists, by generation ----
// "RA20190101NEW.dat": one record per key, as the cleaning steps write it.
std::string CleanedRecordFileName(std::string_view kind,
                                  std::string_view generation = kCurrentGeneration);
std::string HorseIdListName(std::string_view generation = kCurrentGeneration);  // KETTONUM…
// "KETTONUM20190101Q.dat": the horses whose last run is from 2000 or later.
std::string RecentHorseIdListName(std::string_view generation = kCurrentGeneration);
std::string JockeyCodeListName();  // "KISHUNUM20190101.dat"
std::string DamNumberListName();   // "HAHAHANNUM20190101.dat"
std::string SireNumberListName();  // "TITIHANNUM20190101.dat"
std::string FemaleLineFileName();  // "FL20190101.dat"
inline constexpr std::string_view kRegistrationStatusListName = "KETTOMASSHO.dat";
inline constexpr std::string_view kBaseTimeSampleFileName = "KIJUNTIME.dat";

// ---- Statistics files ----
inline constexpr std::string_view kJockeyStatFileName = "KISHUSEISEI.dat";
inline constexpr std::string_view kTrainerStatFileName = "CHOKYOSEISEI.dat";
inline constexpr std::string_view kBreederStatFileName = "BREEDERSEISEI.dat";
inline constexpr std::string_view kOwnerStatFileName = "BANUSISEISEI.dat";
inline constexpr std::string_view kHorseStatFileName = "OPTION1N\\KYOSOBA.dat";
// The horse statistics of the horses of the recent-runner list.
inline constexpr std::string_view kRecentHorseStatFileName = "OPTION1N\\KYOSOBAA.dat";
inline constexpr std::string_view kMareStatFileName = "OPTION1N\\MARE.dat";
inline constexpr std::string_view kStallionStatFileName = "OPTION1N\\STALLION.dat";
// Dam statistics in the mare layout, prepared outside the system.
inline constexpr std::string_view kDamHorseStatFileName = "OPTION1N\\HAHAUMA.dat";
inline constexpr std::string_view kJockeyCourseStatFileName = "OPTION1N\\DONICHI.dat";

// ---- Course kinds ----
enum class CourseKind : std::int16_t { kTurf = 1, kDirt = 2, kJump = 3 };
inline constexpr CourseKind kCourseKinds[] = {CourseKind::kTurf, CourseKind::kDirt,
                                              CourseKind::kJump};

// The word of the horse-list and factor item files: "SIBA", "DIRT", "SHOG".
std::string_view CourseKindWord(CourseKind kind);
// The word of the category, count and regression files: "Siba", "Dirt", "Shog".
std::string_view CourseKindTableWord(CourseKind kind);

// The track codes of a course kind, read as a number: 0-22 turf, 23-29 dirt, 51-59 jump.
struct CourseTrackBand {
  int low = 0;
  int high = 0;
  constexpr bool Holds(int trackCode) const { return trackCode >= low && trackCode <= high; }
};
CourseTrackBand TrackBandOf(CourseKind kind);
// The course kind of a track code; nothing for a code in no band (30-50, above 59).
std::optional<CourseKind> CourseKindOfTrack(int trackCode);

// ---- Factor analysis ----
// The period of the horse lists that the factor item steps read.
inline constexpr std::string_view kFactorPeriod = "201901";

// "SIBA201901N.dat": the horse list of a course kind and period (the period as typed, in
// cp932; the caller checks that it makes a safe file name).
std::string HorseListFileName(CourseKind kind, std::string_view period);
// "SIBAITEM201901N2025.dat".
std::string FactorItemFileName(CourseKind kind);
// "SibaItemCategory201901N2025.dat", "SibaItemCategoryCount201901N2025.dat".
std::string ItemCategoryFileName(CourseKind kind);
std::string ItemCategoryCountFileName(CourseKind kind);
// "QA1SibaTotalData201901N2025.dat".
std::string RegressionTotalsFileName(CourseKind kind);

enum class SpeedFigureKind { kAgari, kPace, kSoha };
// "QA1SibaAgariData201901N2025.dat" and its Pace and Soha twins.
std::string RegressionDataFileName(CourseKind kind, SpeedFigureKind figure);

// The tables of a course kind that the category window reads when it opens, prepared
// outside the system under OPTION1N. The category and count tables have the names of the
// files the categorisation writes in the data folder.
struct CategoryTableFiles {
  std::string totals;        // "OPTION1N\\QA1SibaTotalData201901N2025.dat"
  std::string categories;    // "OPTION1N\\SibaItemCategory201901N2025.dat"
  std::string agariWeights;  // "OPTION1N\\QA1SibaAgariWeightData201901N2025.dat"
  std::string paceWeights;
  std::string sohaWeights;
  std::string counts;  // "OPTION1N\\SibaItemCategoryCount201901N2025.dat"
};
CategoryTableFiles CategoryTableFilesOf(CourseKind kind);

}  // namespace meridax
