#pragma once

#include <vector>

#include "tools/sample/calendar.h"
#include "tools/sample/world.h"

namespace meridax::sample {

// The dials of one size of world.
struct WorldParams {
  int firstYear = 2019, lastYear = 2023;
  // JRA race days: every weekend and a few Mondays, or just these days.
  bool fullCalendar = false;
  std::vector<Date> sampleDays;
  double threeCourseShare = 0.67;  // days with three courses rather than two
  int racesPerCourseDay = 12;
  int fieldMin = 10, fieldMax = 18;
  int localDaysPerYear = 0;  // weekday exchange races at local courses
  int abroadRacesPerYear = 0;
  std::vector<Date> localDays, abroadDays;  // used instead when not a full calendar

  // Breeding population: founders, then foals year by year.
  int founderFrom = 1935, founderTo = 1944, founderSires = 150, founderMares = 2500;
  int oldFoalsPerYear = 5332;  // foal years before the racehorse years
  int racehorseFrom = 2010, racehorseTo = 2021, racehorseFoalsPerYear = 18100;
  int lastFoalYear = 2023;
  double registeredShare = 0.92;  // foals of the racehorse years that get a horse record
  int breedingTarget = 300000;
  int damAgeMax = 20;

  int jockeysActive = 170, jockeysLocal = 50, jockeysAbroad = 20, jockeysTotal = 1000;
  int trainersActive = 200, trainersTotal = 1500;
  int breeders = 30000, owners = 20000;
  double saleOnce = 0.40, saleTwice = 0.05;

  // The older era: race days from olderFrom to olderTo at courses 01 to 10, about a tenth
  // of the world's races, run by horses of the foal years before the racehorse years.
  int olderFrom = 2001, olderTo = 2008;
  int olderDays = 42, olderCoursesPerDay = 2;
  std::vector<Date> olderSampleDays;  // used instead when not a full calendar

  // How many records each hazard touches.
  int hazardCount = 2;
  int unracedDeregistered = 3;
};

WorldParams ParamsOf(Size size);

// The n-th (from 1) weekday (0 Sunday .. 6 Saturday) of a month.
Date NthWeekday(int year, int month, int weekday, int n);

}  // namespace meridax::sample
