#pragma once

// The course kinds of the category window and the files named after them: the horse lists,
// the factor item files, the OPTION1N tables it loads and the category, count and regression
// data files its categorisation writes. One place for every name and per-kind constant.

#include <array>
#include <string>
#include <string_view>

namespace meridax {

// CourseKind values: 1 turf, 2 dirt, 3 jump; 0 none chosen.
inline constexpr int kTurf = 1;
inline constexpr int kDirt = 2;
inline constexpr int kJump = 3;

struct CategoryCourse {
  std::string_view word;   // upper-case, in horse-list and item file names ("SIBA")
  std::string_view mixed;  // in category, count and regression file names ("Siba")
  int trackLow, trackHigh;
  int timeBehindLimit;  // tenths of a second: a run this far behind the winner is dropped
  std::string_view factorCaption;
  std::string_view factorEndText;
  std::string_view categoriseCaption;
  std::string_view gridCorner;
};

inline constexpr std::array<CategoryCourse, 4> kCategoryCourses{{
    {},
    {"SIBA", "Siba", 0, 22, 60, "芝因子設定", "芝終わり", "芝カテゴリー化", "芝IC"},
    {"DIRT", "Dirt", 23, 29, 70, "ダ因子設定", "ダート終わり", "ダカテゴリー化", "ダIC"},
    {"SHOG", "Shog", 51, 59, 100, "障因子設定", "障害終わり", "障カテゴリー化", "障IC"},
}};

constexpr const CategoryCourse& CourseOf(int kind) {
  return kCategoryCourses[static_cast<std::size_t>(kind)];
}
constexpr bool IsCourseKind(int kind) {
  return kind >= kTurf && kind <= kJump;
}

// The factor item steps read the lists of this period only.
inline constexpr std::string_view kFactorPeriod = "201901";

// The three speed figures in file names and in the record (0 Agari, 1 Pace, 2 Soha).
inline constexpr std::array<std::string_view, 3> kSpeedWords{"Agari", "Pace", "Soha"};

// Data-folder names (relative, as DataPath takes them).
inline std::string HorseListName(int kind, std::string_view period) {
  return std::string(CourseOf(kind).word) + std::string(period) + "N.dat";
}
inline std::string FactorItemFileName(int kind) {
  return std::string(CourseOf(kind).word) + "ITEM201901N2025.dat";
}
inline std::string CategoryFileName(int kind) {
  return std::string(CourseOf(kind).mixed) + "ItemCategory201901N2025.dat";
}
inline std::string CategoryCountFileName(int kind) {
  return std::string(CourseOf(kind).mixed) + "ItemCategoryCount201901N2025.dat";
}
inline std::string TotalsFileName(int kind) {
  return "QA1" + std::string(CourseOf(kind).mixed) + "TotalData201901N2025.dat";
}
inline std::string RegressionDataFileName(int kind, int speed) {
  return "QA1" + std::string(CourseOf(kind).mixed) +
         std::string(kSpeedWords[static_cast<std::size_t>(speed)]) + "Data201901N2025.dat";
}
inline std::string WeightFileName(int kind, int speed) {
  return "QA1" + std::string(CourseOf(kind).mixed) +
         std::string(kSpeedWords[static_cast<std::size_t>(speed)]) + "WeightData201901N2025.dat";
}

inline constexpr std::string_view kOptionFolder = "OPTION1N\\";
inline constexpr std::string_view kRunFolder = "UMAGOTOEXSETUP\\";

}  // namespace meridax
