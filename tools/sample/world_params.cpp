#include "tools/sample/world_params.h"

namespace meridax::sample {

Date NthWeekday(int year, int month, int weekday, int n) {
  Date d{year, month, 1};
  const int shift = (weekday - d.Weekday() + 7) % 7;
  return d.Plus(shift + 7 * (n - 1));
}

WorldParams ParamsOf(Size size) {
  WorldParams p;
  switch (size) {
    case Size::kSmall:
      p.firstYear = 2019;
      p.lastYear = 2023;
      p.fullCalendar = false;
      // A Saturday, a Sunday, a holiday Monday and another Saturday.
      p.sampleDays = {NthWeekday(2019, 6, 6, 1), NthWeekday(2020, 11, 0, 2),
                      NthWeekday(2022, 9, 1, 3), NthWeekday(2023, 10, 6, 4)};
      p.threeCourseShare = 0;
      p.racesPerCourseDay = 4;
      p.fieldMin = 6;
      p.fieldMax = 10;
      p.localDays = {NthWeekday(2021, 5, 3, 2)};
      // Two days close enough for a horse to run on both.
      p.olderSampleDays = {NthWeekday(2003, 5, 6, 2), NthWeekday(2004, 4, 0, 3)};
      p.olderCoursesPerDay = 1;
      p.abroadDays = {NthWeekday(2022, 10, 0, 1)};
      p.founderFrom = 1975;
      p.founderTo = 1982;
      p.founderSires = 5;
      p.founderMares = 25;
      p.oldFoalsPerYear = 16;
      p.racehorseFrom = 2010;
      p.racehorseTo = 2021;
      p.racehorseFoalsPerYear = 30;
      p.breedingTarget = 400;
      p.damAgeMax = 12;
      p.jockeysActive = 24;
      p.jockeysLocal = 4;
      p.jockeysAbroad = 2;
      p.jockeysTotal = 40;
      p.trainersActive = 20;
      p.trainersTotal = 30;
      p.breeders = 60;
      p.owners = 50;
      p.hazardCount = 1;
      p.unracedDeregistered = 3;
      break;
    case Size::kYear:
      p.firstYear = 2023;
      p.lastYear = 2023;
      p.fullCalendar = true;
      p.localDaysPerYear = 40;
      p.abroadRacesPerYear = 8;
      p.olderDays = 14;
      p.founderFrom = 1940;
      p.founderTo = 1951;
      p.founderSires = 100;
      p.founderMares = 2100;
      p.oldFoalsPerYear = 1876;
      p.racehorseFrom = 2012;
      p.racehorseTo = 2021;
      p.racehorseFoalsPerYear = 7600;
      p.breedingTarget = 100000;
      p.jockeysActive = 150;
      p.jockeysLocal = 30;
      p.jockeysAbroad = 10;
      p.jockeysTotal = 400;
      p.trainersActive = 180;
      p.trainersTotal = 500;
      p.breeders = 10000;
      p.owners = 7000;
      p.hazardCount = 2;
      p.unracedDeregistered = 10;
      break;
    case Size::kRealistic:
      p.firstYear = 2021;
      p.lastYear = 2023;
      p.fullCalendar = true;
      p.localDaysPerYear = 40;
      p.abroadRacesPerYear = 8;
      p.founderFrom = 1930;
      p.founderTo = 1941;
      p.founderSires = 300;
      p.founderMares = 6000;
      p.oldFoalsPerYear = 5251;
      p.hazardCount = 3;
      p.unracedDeregistered = 30;
      break;
    case Size::kHalf:
      p = ParamsOf(Size::kRealistic);
      p.racesPerCourseDay /= 2;
      p.founderSires /= 2;
      p.founderMares /= 2;
      p.oldFoalsPerYear /= 2;
      p.racehorseFoalsPerYear /= 2;
      p.breedingTarget /= 2;
      p.jockeysActive /= 2;
      p.jockeysLocal /= 2;
      p.jockeysAbroad /= 2;
      p.jockeysTotal /= 2;
      p.trainersActive /= 2;
      p.trainersTotal /= 2;
      p.breeders /= 2;
      p.owners /= 2;
      p.localDaysPerYear /= 2;
      p.abroadRacesPerYear /= 2;
      break;
  }
  return p;
}

}  // namespace meridax::sample
