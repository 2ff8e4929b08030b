// The earlier generation "20180101": what the run-history window reads besides the current
// race and mare files, taken from the same world, with the gaps that the earlier hazards
// ask for.

#include "tools/sample/earlier.h"

#include <algorithm>
#include <functional>
#include <numeric>
#include <tuple>
#include <unordered_map>

#include "datasetup/common/data_files.h"
#include "datasetup/common/file_ids.h"
#include "platform/file_ops.h"
#include "platform/text_file.h"
#include "records/parsers.h"
#include "tools/sample/emit.h"
#include "tools/sample/parallel.h"
#include "tools/sample/world_params.h"

namespace meridax::sample {

namespace fs = std::filesystem;

namespace {

// The stored record of a delivered one.
std::string Stored(records::ParsedRecord& parsed, const std::string& delivered) {
  records::Parse(delivered, parsed);
  return records::ToFixed(parsed);
}

const std::string& IdOf(const World& w, int horse) {
  return w.foals[static_cast<std::size_t>(w.horses[static_cast<std::size_t>(horse)].foal)].horseId;
}

// The horse step's rule for the current horse list: born from 2010, and not deregistered
// without a race.
bool InCurrentList(const World& w, int horse) {
  const Horse& h = w.horses[static_cast<std::size_t>(horse)];
  const bool deregisteredUnraced = h.deregistration == '1' && h.career.races == 0;
  return w.foals[static_cast<std::size_t>(h.foal)].birth.year >= 2010 && !deregisteredUnraced;
}

// A race's place in key order: date, racecourse, race number.
auto RaceOrder(const Race& r) {
  return std::tie(r.date, r.course, r.raceNumber);
}

// Indices 0..n-1 in the order of their keys `key(i)`.
template <class Key>
std::vector<int> SortedBy(std::size_t n, Key key) {
  std::vector<int> v(n);
  std::iota(v.begin(), v.end(), 0);
  std::stable_sort(v.begin(), v.end(), [&](int a, int b) { return key(a) < key(b); });
  return v;
}

// `count` items spread over `v`, none at its ends.
std::vector<int> Spread(const std::vector<int>& v, int count) {
  std::vector<int> out;
  for (int k = 1; k <= count && !v.empty(); ++k) {
    out.push_back(v[v.size() * static_cast<std::size_t>(k) / static_cast<std::size_t>(count + 1)]);
  }
  return out;
}

// Writes the stored records of the items of `order` that `skip` lets through, each from its
// delivered record `emit(item)`, and returns how many it wrote.
template <class Emit, class Skip>
std::size_t WriteStored(const fs::path& path, const std::vector<int>& order,
                        records::ParsedRecord& parsed, Emit emit, Skip skip) {
  TextWriter out(path, TextWriter::Mode::kOutput);
  std::size_t written = 0;
  for (int item : order) {
    if (skip(item)) continue;
    out.Raw(Stored(parsed, emit(item)));
    ++written;
  }
  out.Close();
  return written;
}

void WriteIds(const fs::path& path, const std::vector<std::string>& ids) {
  TextWriter out(path, TextWriter::Mode::kOutput);
  for (const std::string& id : ids) out.Str(id).EndLine();
  out.Close();
}

}  // namespace

EarlierSummary WriteEarlier(const World& w, const fs::path& data) {
  const Hazards& hz = w.hazards;
  const int gaps = ParamsOf(w.size).hazardCount;
  EarlierSummary summary;
  // A file or folder of the data folder by the name the system gives it.
  const auto at = [&](std::string_view name) { return PathBelow(data, name); };
  CreateFolders(at(kHorseRaceFolder));
  CreateFolders(at(kOptionFolder));

  // Runs of each horse in key order.
  const std::vector<int> runnersByRace = SortedBy(w.runners.size(), [&](int i) {
    return RaceOrder(
        w.races[static_cast<std::size_t>(w.runners[static_cast<std::size_t>(i)].race)]);
  });
  std::vector<std::vector<int>> runs(w.horses.size());
  for (int i : runnersByRace) {
    runs[static_cast<std::size_t>(w.runners[static_cast<std::size_t>(i)].horse)].push_back(i);
  }
  const std::vector<int> horses =
      SortedBy(w.horses.size(), [&](int h) -> const std::string& { return IdOf(w, h); });

  // The generation knows every horse but every 50th of the current list, and lists the
  // current list's horses and the older horses that ran.
  std::vector<bool> known(w.horses.size(), true), listed(w.horses.size(), false);
  std::vector<int> older;
  int current = 0;
  for (int h : horses) {
    if (InCurrentList(w, h)) {
      if (current++ % 50 == 25) {
        known[static_cast<std::size_t>(h)] = false;
      } else {
        listed[static_cast<std::size_t>(h)] = true;
      }
    } else if (!runs[static_cast<std::size_t>(h)].empty()) {
      listed[static_cast<std::size_t>(h)] = true;
      older.push_back(h);
    }
  }

  // The horse list and the recent list.
  std::vector<int> list;
  for (int h : horses) {
    if (listed[static_cast<std::size_t>(h)]) list.push_back(h);
  }
  if (hz.earlierListedTwice && !list.empty()) {
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(list.size() / 2), list[list.size() / 2]);
  }
  std::vector<std::string> ids, recent;
  for (int h : list) {
    ids.push_back(IdOf(w, h));
    const std::vector<int>& r = runs[static_cast<std::size_t>(h)];
    if (!r.empty() &&
        w.races[static_cast<std::size_t>(w.runners[static_cast<std::size_t>(r.back())].race)]
                .date.year >= 2000) {
      recent.push_back(IdOf(w, h));
    }
  }
  WriteIds(at(HorseIdListName(kEarlierGeneration)), ids);
  WriteIds(at(RecentHorseIdListName(kEarlierGeneration)), recent);
  summary.listed = ids.size();
  summary.recent = recent.size();

  // The files apart, each with an emitter of its own.
  std::vector<std::function<void()>> jobs;
  // Race files of the listed horses that the current list leaves out.
  jobs.push_back([&] {
    Emitter emit(w);
    const int without = hz.earlierNoRaceFile && !older.empty() ? older[older.size() / 2] : -1;
    records::ParsedSE se;
    for (int h : older) {
      // The world's ids are digits, which always name a file.
      const fs::path path = at(kHorseRaceFolder) / FileNameOfId(IdOf(w, h)).value();
      if (h == without) {
        fs::remove(path);
        continue;
      }
      TextWriter out(path, TextWriter::Mode::kOutput);
      for (int r : runs[static_cast<std::size_t>(h)]) out.Raw(Stored(se, emit.Runner(r)));
      out.Close();
      ++summary.raceFiles;
    }
  });

  jobs.push_back([&] {
    Emitter emit(w);
    records::ParsedUM um;
    summary.horses = WriteStored(
        at(CleanedRecordFileName("UM", kEarlierGeneration)), horses, um,
        [&](int h) { return emit.Horse(h); },
        [&](int h) { return !known[static_cast<std::size_t>(h)]; });
  });

  // Races, but for some of the world's own years whose runs the list holds.
  jobs.push_back([&] {
    Emitter emit(w);
    const std::vector<int> races = SortedBy(
        w.races.size(), [&](int r) { return RaceOrder(w.races[static_cast<std::size_t>(r)]); });
    std::vector<int> own;
    for (int r : races) {
      const Race& race = w.races[static_cast<std::size_t>(r)];
      if (race.category == '7' && race.date.year >= w.firstYear && race.runnerCount > 0) {
        own.push_back(r);
      }
    }
    std::vector<int> missing;
    if (hz.earlierRaceMissing) missing = Spread(own, 2 * gaps);
    records::ParsedRA ra;
    summary.races = WriteStored(
        at(CleanedRecordFileName("RA", kEarlierGeneration)), races, ra,
        [&](int r) { return emit.Race(r); },
        [&](int r) { return std::find(missing.begin(), missing.end(), r) != missing.end(); });

    // Jockeys, but for one who rode in the middle of the world's own years.
    int missingJockey = -1;
    if (hz.earlierJockeyMissing && !own.empty()) {
      const Race& middle = w.races[static_cast<std::size_t>(own[own.size() / 2])];
      missingJockey = w.runners[static_cast<std::size_t>(middle.firstRunner)].jockey;
    }
    const std::vector<int> jockeys = SortedBy(w.jockeys.size(), [&](int j) -> const std::string& {
      return w.jockeys[static_cast<std::size_t>(j)].code;
    });
    records::ParsedKS ks;
    summary.jockeys = WriteStored(
        at(CleanedRecordFileName("KS", kEarlierGeneration)), jockeys, ks,
        [&](int j) { return emit.Jockey(j); }, [&](int j) { return j == missingJockey; });
  });

  jobs.push_back([&] {
    Emitter emit(w);
    const std::vector<int> breeding = SortedBy(w.breeding.size(), [&](int b) -> const std::string& {
      return w.breeding[static_cast<std::size_t>(b)].number;
    });
    records::ParsedHN hn;
    summary.breeding = WriteStored(
        at(CleanedRecordFileName("HN", kEarlierGeneration)), breeding, hn,
        [&](int b) { return emit.BreedingHorse(b); }, [](int) { return false; });
  });

  // Sales as delivered, in the order of the world's sale file.
  jobs.push_back([&] {
    Emitter emit(w);
    std::vector<int> sold;
    for (int s = 0; s < static_cast<int>(w.sales.size()); ++s) {
      if (listed[static_cast<std::size_t>(w.sales[static_cast<std::size_t>(s)].horse)]) {
        sold.push_back(s);
      }
    }
    const int unsold = hz.earlierSaleMissing && !sold.empty()
                           ? w.sales[static_cast<std::size_t>(sold[sold.size() / 2])].horse
                           : -1;
    TextWriter out(at(RawRecordFileName("HS", kEarlierGeneration)), TextWriter::Mode::kOutput);
    for (int s = 0; s < static_cast<int>(w.sales.size()); ++s) {
      const int h = w.sales[static_cast<std::size_t>(s)].horse;
      if (!known[static_cast<std::size_t>(h)] || h == unsold) continue;
      out.Raw(emit.Sale(s));
      ++summary.sales;
    }
    out.Close();
  });

  jobs.push_back([&] {
    WriteMinimalCategoryTables(data);
    summary.dams = WriteDamStatistics(w, known, data);
  });
  RunAll(jobs);
  return summary;
}

}  // namespace meridax::sample
