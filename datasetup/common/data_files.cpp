#include "datasetup/common/data_files.h"

#include "datasetup/common/file_ids.h"

namespace meridax {
namespace {

// The period and version that the factor analysis files carry.
constexpr std::string_view kFactorTag = "201901N2025.dat";

std::string Join(std::initializer_list<std::string_view> parts) {
  std::string name;
  for (const std::string_view part : parts) name.append(part);
  return name;
}

std::string_view SpeedFigureWord(SpeedFigureKind figure) {
  switch (figure) {
    case SpeedFigureKind::kAgari:
      return "Agari";
    case SpeedFigureKind::kPace:
      return "Pace";
    case SpeedFigureKind::kSoha:
      return "Soha";
  }
  return {};
}

// "QA1" + S + what + the tag: the regression files and the weight tables.
std::string RegressionFile(CourseKind kind, std::string_view what, std::string_view suffix) {
  return Join({"QA1", CourseKindTableWord(kind), what, suffix, kFactorTag});
}

std::string OptionFile(std::string_view name) {
  return Join({kOptionFolder, "\\", name});
}

}  // namespace

std::optional<std::filesystem::path> EntityFilePath(std::string_view folder, std::string_view id,
                                                    std::string_view ending) {
  const auto name = FileNameOfId(id, ending);
  if (!name) return std::nullopt;
  return DataPath(folder) / *name;
}

std::string EntityFolderPrefix(std::string_view folder) {
  return Join({kDataFolder, folder, "\\"});
}

std::string ExtendedRunEntry(std::string_view horseId) {
  return Join({horseId, "EX.dat"});
}

std::optional<std::filesystem::path> ExtendedRunFilePath(std::string_view horseId) {
  return EntityFilePath(kExtendedRunFolder, horseId, "EX.dat");
}

std::string CleanedRecordFileName(std::string_view kind, std::string_view generation) {
  return Join({kind, generation, "NEW.dat"});
}

std::string HorseIdListName(std::string_view generation) {
  return Join({"KETTONUM", generation, ".dat"});
}

std::string RecentHorseIdListName(std::string_view generation) {
  return Join({"KETTONUM", generation, "Q.dat"});
}

std::string JockeyCodeListName() {
  return Join({"KISHUNUM", kCurrentGeneration, ".dat"});
}

std::string DamNumberListName() {
  return Join({"HAHAHANNUM", kCurrentGeneration, ".dat"});
}

std::string SireNumberListName() {
  return Join({"TITIHANNUM", kCurrentGeneration, ".dat"});
}

std::string FemaleLineFileName() {
  return Join({"FL", kCurrentGeneration, ".dat"});
}

std::string_view CourseKindWord(CourseKind kind) {
  switch (kind) {
    case CourseKind::kTurf:
      return "SIBA";
    case CourseKind::kDirt:
      return "DIRT";
    case CourseKind::kJump:
      return "SHOG";
  }
  return {};
}

std::string_view CourseKindTableWord(CourseKind kind) {
  switch (kind) {
    case CourseKind::kTurf:
      return "Siba";
    case CourseKind::kDirt:
      return "Dirt";
    case CourseKind::kJump:
      return "Shog";
  }
  return {};
}

CourseTrackBand TrackBandOf(CourseKind kind) {
  switch (kind) {
    case CourseKind::kTurf:
      return {0, 22};
    case CourseKind::kDirt:
      return {23, 29};
    case CourseKind::kJump:
      return {51, 59};
  }
  return {1, 0};
}

std::optional<CourseKind> CourseKindOfTrack(int trackCode) {
  for (const CourseKind kind : kCourseKinds) {
    if (TrackBandOf(kind).Holds(trackCode)) return kind;
  }
  return std::nullopt;
}

std::string HorseListFileName(CourseKind kind, std::string_view period) {
  return Join({CourseKindWord(kind), period, "N.dat"});
}

std::string FactorItemFileName(CourseKind kind) {
  return Join({CourseKindWord(kind), "ITEM", kFactorTag});
}

std::string ItemCategoryFileName(CourseKind kind) {
  return Join({CourseKindTableWord(kind), "ItemCategory", kFactorTag});
}

std::string ItemCategoryCountFileName(CourseKind kind) {
  return Join({CourseKindTableWord(kind), "ItemCategoryCount", kFactorTag});
}

std::string RegressionTotalsFileName(CourseKind kind) {
  return RegressionFile(kind, "Total", "Data");
}

std::string RegressionDataFileName(CourseKind kind, SpeedFigureKind figure) {
  return RegressionFile(kind, SpeedFigureWord(figure), "Data");
}

CategoryTableFiles CategoryTableFilesOf(CourseKind kind) {
  const auto weights = [kind](SpeedFigureKind figure) {
    return OptionFile(RegressionFile(kind, SpeedFigureWord(figure), "WeightData"));
  };
  CategoryTableFiles files;
  files.totals = OptionFile(RegressionTotalsFileName(kind));
  files.categories = OptionFile(ItemCategoryFileName(kind));
  files.agariWeights = weights(SpeedFigureKind::kAgari);
  files.paceWeights = weights(SpeedFigureKind::kPace);
  files.sohaWeights = weights(SpeedFigureKind::kSoha);
  files.counts = OptionFile(ItemCategoryCountFileName(kind));
  return files;
}

}  // namespace meridax
