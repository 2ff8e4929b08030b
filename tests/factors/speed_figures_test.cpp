#include "datasetup/factors/speed_figures.h"

#include <gtest/gtest.h>

#include "datasetup/factors/factor_items.h"
#include "tests/factors/ex_fixture.h"

namespace meridax {
namespace {

namespace ex = extended_run;
using testing::ExFixture;
using testing::ExRun;

TEST(SpeedFigures, ArithmeticIsStrictSinglePrecision) {
  EXPECT_TRUE(FloatArithmeticIsStrict());
}

TEST(SpeedFigures, CodeWrapsAtOneHundredAndFloorsNegativeSpeeds) {
  EXPECT_EQ(SpeedFigure(0), "0000000");
  EXPECT_EQ(SpeedFigure(100), "0000000");
  EXPECT_EQ(SpeedFigure(21600.0f / 345), "6260869");
  EXPECT_EQ(SpeedFigure(-0.000001f), "9999999");
  EXPECT_EQ(SpeedFigure(-1.5f), "9850000");
}

TEST(SpeedFigures, CaseTable) {
  struct Case {
    std::string_view last3;
    std::string_view finish;
    std::string_view distance;
    std::string_view track;
    std::string_view agari;
    std::string_view pace;
    std::string_view soha;
  };
  const std::string_view blank7 = "       ";
  const std::string_view none = testing::kAbandoned;
  const Case cases[] = {
      // Single-precision traps: 21600 / 375 is 57.59999847 as a float.
      {"375", "1150", "1200", "17", "5759999", "5760000", "5760000"},
      {"355", "2000", "2000", "11", "6084506", "5964496", "6000000"},
      {"345", "1345", "1600", "17", "6260869", "6000000", "6095238"},
      // 49 is still flat; 50 and negative codes are jump tracks: 7200 and distance - 200.
      {"345", "1345", "1600", "49", "6260869", "6000000", "6095238"},
      {"345", "1345", "1600", "50", "2086956", "8400000", "6095238"},
      {"345", "1345", "1600", "-1", "2086956", "8400000", "6095238"},
      {"150", "3150", "3000", "54", "4800000", "5600000", "5538461"},
      // 100 km/h loses its leading digit.
      {"216", "1100", "1400", "17", "0000000", "5950413", "7200000"},
      // A distance below 600 m on the flat: a negative pace speed, floored.
      {"350", "0480", "0400", "17", "6171428", "4461538", "3000000"},
      // A race time of 0 against a last three furlongs: the text keeps its sign.
      {"345", "0000", "1600", "17", "6260869", "-434783", "0000000"},
      {"000", "1345", "1600", "17", "0000000", "0000000", "6095238"},
      {"000", "    ", "    ", "  ", "0000000", "0000000", "0000000"},
      {"   ", "1345", "1600", "17", blank7, blank7, "6095238"},
      {"345", "    ", "1600", "17", "6260869", none, "0000000"},
      {"345", "1345", "    ", "17", "6260869", none, none},
      {"345", "1345", "1600", "AB", none, none, "6095238"},
      {"34X", "1345", "1600", "17", none, none, "6095238"},
      {"345", "1X45", "1600", "17", "6260869", none, none},
      // Race time equal to the last three furlongs: division by zero.
      {"600", "1000", "1600", "17", "3600000", none, "9600000"},
  };
  ExFixture f;
  for (const auto& c : cases) {
    f.SetRuns({ExRun({{ex::Last3FurlongTime, c.last3},
                      {ex::FinishTime, c.finish},
                      {ex::Distance, c.distance},
                      {ex::TrackCode, c.track}})});
    const std::string row = std::string(c.last3) + "/" + std::string(c.finish) + "/" +
                            std::string(c.distance) + "/" + std::string(c.track);
    EXPECT_EQ(f.Code(AgariSpeed, 1), c.agari) << row;
    EXPECT_EQ(f.Code(PaceSpeed, 1), c.pace) << row;
    EXPECT_EQ(f.Code(SohaSpeed, 1), c.soha) << row;
  }
}

TEST(SpeedFigures, ReadTheRunBufferAsItStands) {
  ExFixture f({ExRun({{ex::Last3FurlongTime, "345"}, {ex::TrackCode, "17"}}),
               ExRun({{ex::Last3FurlongTime, "375"}, {ex::TrackCode, "17"}})});
  ItemContext& c = f.At(2);
  c.Read(1);  // a routine before left an earlier record in the buffer
  EXPECT_EQ(AgariSpeed(c), "6260869");
}

}  // namespace
}  // namespace meridax
