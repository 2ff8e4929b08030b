#include "datasetup/common/data_files.h"

#include <gtest/gtest.h>

namespace meridax {
namespace {

TEST(DataFilesTest, NamesOfEachCourseKind) {
  struct Case {
    CourseKind kind;
    std::string_view horseList, itemFile, category, count, totals, agari, soha;
  } cases[] = {
      {CourseKind::kTurf, "SIBA201901N.dat", "SIBAITEM201901N2025.dat",
       "SibaItemCategory201901N2025.dat", "SibaItemCategoryCount201901N2025.dat",
       "QA1SibaTotalData201901N2025.dat", "QA1SibaAgariData201901N2025.dat",
       "QA1SibaSohaData201901N2025.dat"},
      {CourseKind::kDirt, "DIRT201901N.dat", "DIRTITEM201901N2025.dat",
       "DirtItemCategory201901N2025.dat", "DirtItemCategoryCount201901N2025.dat",
       "QA1DirtTotalData201901N2025.dat", "QA1DirtAgariData201901N2025.dat",
       "QA1DirtSohaData201901N2025.dat"},
      {CourseKind::kJump, "SHOG201901N.dat", "SHOGITEM201901N2025.dat",
       "ShogItemCategory201901N2025.dat", "ShogItemCategoryCount201901N2025.dat",
       "QA1ShogTotalData201901N2025.dat", "QA1ShogAgariData201901N2025.dat",
       "QA1ShogSohaData201901N2025.dat"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.horseList);
    EXPECT_EQ(HorseListFileName(c.kind, kFactorPeriod), c.horseList);
    EXPECT_EQ(FactorItemFileName(c.kind), c.itemFile);
    EXPECT_EQ(ItemCategoryFileName(c.kind), c.category);
    EXPECT_EQ(ItemCategoryCountFileName(c.kind), c.count);
    EXPECT_EQ(RegressionTotalsFileName(c.kind), c.totals);
    EXPECT_EQ(RegressionDataFileName(c.kind, SpeedFigureKind::kAgari), c.agari);
    EXPECT_EQ(RegressionDataFileName(c.kind, SpeedFigureKind::kSoha), c.soha);
  }
  EXPECT_EQ(RegressionDataFileName(CourseKind::kDirt, SpeedFigureKind::kPace),
            "QA1DirtPaceData201901N2025.dat");
  // The period is the operator's text, taken as it is.
  EXPECT_EQ(HorseListFileName(CourseKind::kJump, "Text1"), "SHOGText1N.dat");
}

TEST(DataFilesTest, TheSixOutsideTablesOfAKindLieUnderTheOptionFolder) {
  const CategoryTableFiles files = CategoryTableFilesOf(CourseKind::kTurf);
  EXPECT_EQ(files.totals, "OPTION1N\\QA1SibaTotalData201901N2025.dat");
  EXPECT_EQ(files.categories, "OPTION1N\\SibaItemCategory201901N2025.dat");
  EXPECT_EQ(files.agariWeights, "OPTION1N\\QA1SibaAgariWeightData201901N2025.dat");
  EXPECT_EQ(files.paceWeights, "OPTION1N\\QA1SibaPaceWeightData201901N2025.dat");
  EXPECT_EQ(files.sohaWeights, "OPTION1N\\QA1SibaSohaWeightData201901N2025.dat");
  EXPECT_EQ(files.counts, "OPTION1N\\SibaItemCategoryCount201901N2025.dat");
  EXPECT_EQ(CategoryTableFilesOf(CourseKind::kJump).paceWeights,
            "OPTION1N\\QA1ShogPaceWeightData201901N2025.dat");
}

TEST(DataFilesTest, GenerationsAndPerEntityNames) {
  EXPECT_EQ(RawRecordFileName("HS", kEarlierGeneration), "HS20180101.dat");
  EXPECT_EQ(RawRecordFileName("SE"), "SE20190101.dat");
  EXPECT_EQ(CleanedRecordFileName("RA", kEarlierGeneration), "RA20180101NEW.dat");
  EXPECT_EQ(CleanedRecordFileName("UM"), "UM20190101NEW.dat");
  EXPECT_EQ(HorseIdListName(), "KETTONUM20190101.dat");
  EXPECT_EQ(HorseIdListName(kEarlierGeneration), "KETTONUM20180101.dat");
  EXPECT_EQ(RecentHorseIdListName(kEarlierGeneration), "KETTONUM20180101Q.dat");
  EXPECT_EQ(JockeyCodeListName(), "KISHUNUM20190101.dat");
  EXPECT_EQ(DamNumberListName(), "HAHAHANNUM20190101.dat");
  EXPECT_EQ(SireNumberListName(), "TITIHANNUM20190101.dat");
  EXPECT_EQ(FemaleLineFileName(), "FL20190101.dat");
  EXPECT_EQ(EntityFilePath(kHorseRaceFolder, "2016100001"),
            DataPath("UMAGOTOSETUP") / "2016100001.dat");
  EXPECT_FALSE(EntityFilePath(kHorseRaceFolder, "20161\\0001"));
  EXPECT_EQ(EntityFolderPrefix(kMareOffspringFolder), "C:\\MERIDAXPROJECT\\HAHAHAN\\");
  EXPECT_EQ(ExtendedRunEntry("2016100001"), "2016100001EX.dat");
  EXPECT_EQ(ExtendedRunFilePath("2016100001"), DataPath("UMAGOTOEXSETUP") / "2016100001EX.dat");
}

TEST(DataFilesTest, TrackBandsDecideTheCourseKind) {
  struct Case {
    int track;
    std::optional<CourseKind> kind;
  } cases[] = {
      {0, CourseKind::kTurf},  {10, CourseKind::kTurf}, {22, CourseKind::kTurf},
      {23, CourseKind::kDirt}, {29, CourseKind::kDirt}, {30, std::nullopt},
      {50, std::nullopt},      {51, CourseKind::kJump}, {59, CourseKind::kJump},
      {60, std::nullopt},      {-1, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(CourseKindOfTrack(c.track), c.kind) << c.track;
  EXPECT_TRUE(TrackBandOf(CourseKind::kDirt).Holds(23));
  EXPECT_FALSE(TrackBandOf(CourseKind::kDirt).Holds(22));
  EXPECT_EQ(static_cast<int>(CourseKind::kJump), 3);
  EXPECT_EQ(CourseKindWord(CourseKind::kDirt), "DIRT");
  EXPECT_EQ(CourseKindTableWord(CourseKind::kJump), "Shog");
}

}  // namespace
}  // namespace meridax
