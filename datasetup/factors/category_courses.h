#pragma once

// What the category window's steps do differently per course kind, besides the file names
// (datasetup/common/data_files.h).

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "datasetup/common/data_files.h"

namespace meridax {

struct CategoryCourse {
  int timeBehindLimit;  // tenths of a second: a run this far behind the winner is dropped
  std::string_view factorCaption;
  std::string_view factorEndText;
  std::string_view categoriseCaption;
  std::string_view gridCorner;
};

inline constexpr std::array<CategoryCourse, 3> kCategoryCourses{{
    {60, "芝因子設定", "芝終わり", "芝カテゴリー化", "芝IC"},
    {70, "ダ因子設定", "ダート終わり", "ダカテゴリー化", "ダIC"},
    {100, "障因子設定", "障害終わり", "障カテゴリー化", "障IC"},
}};

constexpr const CategoryCourse& CourseOf(CourseKind kind) {
  return kCategoryCourses[static_cast<std::size_t>(kind) - 1];
}

// The window's CourseKind value (0 when none was chosen yet) as a kind.
constexpr std::optional<CourseKind> CourseKindOf(int value) {
  if (value < 1 || value > 3) return std::nullopt;
  return static_cast<CourseKind>(value);
}

// Rows of one item in the category window's start-up tables: a total above it stops their
// load, so no tool may write one.
inline constexpr std::int64_t kCategoryTableRows = 6000;

// The three speed figures in the order of the item record's speed fields.
inline constexpr std::array<SpeedFigureKind, 3> kSpeedFigureKinds{
    SpeedFigureKind::kAgari, SpeedFigureKind::kPace, SpeedFigureKind::kSoha};

}  // namespace meridax
