#include "tools/sample/service.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <functional>
#include <regex>
#include <set>
#include <stdexcept>
#include <thread>

#include "datafetch/main_window_steps.h"
#include "platform/file_ops.h"
#include "platform/io_error.h"
#include "records/parsers.h"
#include "tools/sample/emit.h"
#include "tools/sample/parallel.h"
#include "tools/sample/world_params.h"

namespace meridax::sample {

namespace fs = std::filesystem;

namespace {

struct Shape {
  int files;
  std::size_t block;  // records of one kind in a row
  int others;         // records of kinds the system does not use
};

Shape ShapeOf(Size size) {
  switch (size) {
    case Size::kSmall:
      return {12, 7, 4};
    case Size::kYear:
      return {60, 400, 200};
    case Size::kRealistic:
      return {200, 500, 600};
    case Size::kHalf:
      return {100, 500, 300};
  }
  return {12, 7, 4};
}

// The key under which a cleaning step keeps one record of a kind; hazards use it to
// place records of one key, and of neighbouring keys, next to each other.
std::string KeyOf(std::string_view kind, std::string_view r) {
  using records::View;
  namespace rec = records;
  auto join = [&](std::initializer_list<rec::FieldRef> refs) {
    std::string k;
    for (const auto& f : refs) k += View(r, f);
    return k;
  };
  if (kind == "RA") {
    return join(
        {rec::ra::RaceYear, rec::ra::RaceMonthDay, rec::ra::RacecourseCode, rec::ra::RaceNumber});
  }
  if (kind == "SE") {
    return join({rec::se::RaceYear, rec::se::RaceMonthDay, rec::se::RaceNumber,
                 rec::se::HorseNumber, rec::se::HorseId});
  }
  if (kind == "UM") return std::string(View(r, rec::um::HorseId));
  if (kind == "HN") return std::string(View(r, rec::hn::BreedingNumber));
  if (kind == "SK") return std::string(View(r, rec::sk::HorseId));
  if (kind == "KS") return std::string(View(r, rec::ks::JockeyCode));
  if (kind == "CH") return std::string(View(r, rec::ch::TrainerCode));
  if (kind == "BR") return std::string(View(r, rec::br::BreederCode).substr(0, 6));
  if (kind == "BN") return std::string(View(r, rec::bn::OwnerCode));
  return std::string(r.substr(0, 2));
}

Date CreatedOf(std::string_view r) {
  const std::string_view d = records::View(r, records::header::CreatedDate);
  return {std::stoi(std::string(d.substr(0, 4))), std::stoi(std::string(d.substr(4, 2))),
          std::stoi(std::string(d.substr(6, 2)))};
}

// The further records of one key: an older one in a kept category (for RA and SE a
// provisional result a day earlier), and one in a category that most cleaning steps drop
// (for RA and SE the entry before the race, else a newer deleted record).
std::string Older(std::string_view kind, std::string_view r) {
  const bool race = kind == "RA" || kind == "SE";
  return WithHeader(r, r[2], CreatedOf(r).Plus(race ? -1 : -30));
}
std::string Dropped(std::string_view kind, std::string_view r) {
  if (kind == "RA" || kind == "SE") return WithHeader(r, '2', CreatedOf(r).Plus(-5));
  return WithHeader(r, '0', CreatedOf(r).Plus(1));
}

// Two and three records of one key, in the orders K K M and B A B A.
void PutDuplicates(KindStream& s, int count) {
  std::vector<std::string>& v = s.records;
  const std::size_t n = v.size();
  if (n < 12) return;
  enum Action { kNone, kTwo, kThree, kInterleave };
  std::vector<Action> action(n, kNone);
  std::vector<std::size_t> partner(n, 0);
  std::vector<bool> moved(n, false);
  for (int t = 0; t < count; ++t) {
    const std::size_t slots = 4 * static_cast<std::size_t>(count) + 1;
    for (int kind = 1; kind <= 3; ++kind) {
      std::size_t i = n * (4 * static_cast<std::size_t>(t) + kind) / slots;
      while (i < n && (action[i] != kNone || moved[i])) ++i;
      if (i >= n) continue;
      // The record that follows: a greater key for K K M, another key for B A B A.
      std::size_t j = i + 1;
      const std::string key = KeyOf(s.kind, v[i]);
      while (j < n && j < i + 400 &&
             (action[j] != kNone || moved[j] ||
              (kind == 1 ? !(key < KeyOf(s.kind, v[j])) : KeyOf(s.kind, v[j]) == key))) {
        ++j;
      }
      if (kind != 2 && (j >= n || j >= i + 400)) continue;
      action[i] = static_cast<Action>(kind);
      if (kind != 2) {
        partner[i] = j;
        moved[j] = true;
      }
    }
  }
  std::vector<std::string> out;
  out.reserve(n + 4 * static_cast<std::size_t>(count));
  for (std::size_t i = 0; i < n; ++i) {
    if (moved[i]) continue;
    switch (action[i]) {
      case kNone:
        out.push_back(std::move(v[i]));
        break;
      case kTwo:
        out.push_back(v[i]);
        out.push_back(Older(s.kind, v[i]));
        out.push_back(std::move(v[partner[i]]));
        break;
      case kThree:
        out.push_back(v[i]);
        out.push_back(Older(s.kind, v[i]));
        out.push_back(Dropped(s.kind, v[i]));
        break;
      case kInterleave: {
        std::string a = std::move(v[i]), b = std::move(v[partner[i]]);
        if (KeyOf(s.kind, b) < KeyOf(s.kind, a)) std::swap(a, b);
        out.push_back(b);
        out.push_back(a);
        out.push_back(Older(s.kind, b));
        out.push_back(Older(s.kind, a));
        break;
      }
    }
  }
  v = std::move(out);
}

// A record of a kind with fields replaced, through its parsed record.
std::string Rewritten(std::string_view delivered,
                      std::initializer_list<std::pair<records::FieldRef, std::string>> fields) {
  const records::Layout* layout = records::LayoutOfKind(delivered.substr(0, 2));
  records::ParsedRecord p(*layout);
  records::Parse(delivered, p);
  for (const auto& [ref, text] : fields) p.Set(ref, text);
  return records::ToDelivered(p);
}

// Records no cleaning step keeps: next week's entries of one course, deleted horses,
// breeding horses, foals, riders and trainers under codes nothing else uses.
void PutDroppedRecords(const World& w, std::vector<KindStream>& streams, int count) {
  namespace rec = records;
  auto stream = [&](const char* kind) -> std::vector<std::string>& {
    for (auto& s : streams) {
      if (s.kind == kind) return s.records;
    }
    throw std::logic_error("no stream");
  };
  // The last JRA races of the world, a week later, as entries before the race.
  int last = -1;
  for (int i = static_cast<int>(w.races.size()) - 1; i >= 0 && last < 0; --i) {
    if (w.races[static_cast<std::size_t>(i)].category == '7') last = i;
  }
  if (last >= 0) {
    Emitter e(w);
    const Race& lr = w.races[static_cast<std::size_t>(last)];
    const Date next = lr.date.Plus(7);
    int taken = 0;
    for (int i = last; i >= 0 && taken < count; --i) {
      const Race& race = w.races[static_cast<std::size_t>(i)];
      if (race.date != lr.date || race.course != lr.course) continue;
      ++taken;
      auto shift = [&](std::string_view r, rec::FieldRef year, rec::FieldRef md) {
        return WithHeader(Rewritten(r, {{year, Digits(next.year, 4)}, {md, next.MonthDay()}}), '2',
                          lr.date.Plus(5));
      };
      stream("RA").push_back(shift(e.Race(i), rec::ra::RaceYear, rec::ra::RaceMonthDay));
      for (int k = 0; k < race.runnerCount; ++k) {
        stream("SE").push_back(
            shift(e.Runner(race.firstRunner + k), rec::se::RaceYear, rec::se::RaceMonthDay));
      }
    }
  }
  auto middle = [&](std::vector<std::string>& v, std::string r) {
    v.insert(v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2), std::move(r));
  };
  // A copy of a record under an unused key: the same first `keep` characters (an id's year
  // of birth), then a serial below any the world gives out.
  struct Lone {
    const char* kind;
    rec::FieldRef key;
    int keep;
  };
  const Lone lone[] = {{"UM", rec::um::HorseId, 4},
                       {"HN", rec::hn::BreedingNumber, 0},
                       {"SK", rec::sk::HorseId, 4},
                       {"KS", rec::ks::JockeyCode, 0},
                       {"CH", rec::ch::TrainerCode, 0}};
  for (int k = 1; k <= count; ++k) {
    for (const Lone& l : lone) {
      auto& v = stream(l.kind);
      if (v.empty()) continue;
      const std::string& r = v[v.size() * static_cast<std::size_t>(k) / (count + 1)];
      const std::string key =
          std::string(rec::View(r, l.key).substr(0, l.keep)) + Digits(k, l.key.width - l.keep);
      middle(v, WithHeader(Rewritten(r, {{l.key, key}}), '0', CreatedOf(r)));
    }
  }
}

std::vector<std::string> OtherKinds(const World& w, int count, bool unknown) {
  std::vector<std::string> v;
  Rng rng(static_cast<std::uint64_t>(w.races.size()) * 7919 + 17);
  for (int i = 0; i < count; ++i) {
    // Kinds the service offers that the system does not keep: schedules, weather and the
    // like, of their own lengths.
    const bool first = i % 2 == 0;
    std::string r = std::string(first ? "Q1" : "Q2") + "1" + w.snapshot.Text();
    const std::size_t length = first ? 120 : 300;
    while (r.size() < length - 2) r += static_cast<char>('0' + rng.Below(10));
    r += "\r\n";
    v.push_back(std::move(r));
  }
  if (unknown && !w.runners.empty()) {
    // A runner record under a kind written in lower case: routing compares exactly.
    Emitter e(w);
    std::string r = e.Runner(0);
    r[0] = 's';
    r[1] = 'e';
    v.insert(v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2), std::move(r));
  }
  return v;
}

void RemoveOurFiles(const fs::path& folder) {
  static const std::regex kData(R"(D[0-9]{4}\.dat(\.damaged)?)");
  if (!fs::is_directory(folder)) return;
  std::vector<fs::path> doomed;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file() && std::regex_match(entry.path().filename().string(), kData)) {
      doomed.push_back(entry.path());
    }
  }
  for (const auto& p : doomed) fs::remove(p);
}

// "cannot write PATH: why", from errno just after the stream failed: the stream keeps no
// cause, and errno still holds the one of the call that failed.
std::string Unwritten(const fs::path& path) {
  return "cannot write " + path.string() + (errno != 0 ? ": " + ErrorCause(errno) : "");
}

void WriteFile(const fs::path& path, const std::vector<const std::string*>& records) {
  errno = 0;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) throw std::runtime_error(Unwritten(path));
  for (const std::string* r : records)
    out.write(r->data(), static_cast<std::streamsize>(r->size()));
  out.close();
  if (!out) throw std::runtime_error(Unwritten(path));
}

}  // namespace

std::optional<Size> SizeNamed(std::string_view name) {
  if (name == "small") return Size::kSmall;
  if (name == "year") return Size::kYear;
  if (name == "realistic") return Size::kRealistic;
  if (name == "half") return Size::kHalf;
  return std::nullopt;
}

std::string_view NameOf(Size size) {
  switch (size) {
    case Size::kSmall:
      return "small";
    case Size::kYear:
      return "year";
    case Size::kRealistic:
      return "realistic";
    case Size::kHalf:
      return "half";
  }
  return "small";
}

std::string RawFileName(std::string_view kind) {
  for (const auto& raw : datafetch::kRawFiles) {
    if (raw.kind == kind) return std::string(raw.fileName);
  }
  throw std::invalid_argument("no raw file for kind " + std::string(kind));
}

std::vector<KindStream> Streams(const World& w, const Options& options) {
  std::vector<KindStream> streams;
  for (const char* kind : kStoredKinds) streams.push_back({kind, {}});
  streams.push_back({"other", {}});
  // One thread per kind: each emitter reads the world only.
  auto fill = [&](std::size_t index, std::size_t count, auto emit) {
    Emitter e(w);
    auto& v = streams[index].records;
    v.reserve(count);
    for (std::size_t i = 0; i < count; ++i) v.push_back(emit(e, static_cast<int>(i)));
  };
  RunAll({
      [&] { fill(0, w.races.size(), [](Emitter& e, int i) { return e.Race(i); }); },
      [&] { fill(1, w.runners.size(), [](Emitter& e, int i) { return e.Runner(i); }); },
      [&] { fill(2, w.horses.size(), [](Emitter& e, int i) { return e.Horse(i); }); },
      [&] { fill(3, w.breeding.size(), [](Emitter& e, int i) { return e.BreedingHorse(i); }); },
      [&] {
        fill(4, w.jockeys.size(), [](Emitter& e, int i) { return e.Jockey(i); });
        fill(6, w.trainers.size(), [](Emitter& e, int i) { return e.Trainer(i); });
      },
      [&] { fill(5, w.foals.size(), [](Emitter& e, int i) { return e.Offspring(i); }); },
      [&] {
        fill(7, w.breeders.size(), [](Emitter& e, int i) { return e.Breeder(i); });
        fill(8, w.owners.size(), [](Emitter& e, int i) { return e.Owner(i); });
        fill(9, w.sales.size(), [](Emitter& e, int i) { return e.Sale(i); });
      },
  });

  const int count = ParamsOf(w.size).hazardCount;
  if (options.hazards.droppedCategories) PutDroppedRecords(w, streams, count);
  if (options.hazards.duplicates) {
    for (std::size_t k = 0; k + 1 < streams.size(); ++k) {
      if (streams[k].kind != "HS") PutDuplicates(streams[k], count);
    }
  }
  streams.back().records = OtherKinds(w, ShapeOf(w.size).others, options.hazards.unknownKind);
  return streams;
}

std::string Summary::Line(const Options& options) const {
  std::string line = "meridax-sample: " + std::string(NameOf(options.size)) + " world, seed " +
                     std::to_string(options.seed) +
                     (options.hazards.Any() ? ", hazards" : ", no hazards");
  if (!out.empty()) {
    line += ":";
    for (const auto& [kind, n] : records) line += " " + kind + " " + std::to_string(n);
    line += "; " + std::to_string(files) + " files (" + std::to_string(pending) + " pending, " +
            std::to_string(damaged) + " damaged) in " + out.string() + "; expected raw files in " +
            expected.string();
  }
  if (earlier) {
    const EarlierSummary& e = *earlier;
    line += "; earlier generation in " + options.earlier.string() + ": " +
            std::to_string(e.listed) + " listed (" + std::to_string(e.recent) + " recent), UM " +
            std::to_string(e.horses) + " RA " + std::to_string(e.races) + " KS " +
            std::to_string(e.jockeys) + " HN " + std::to_string(e.breeding) + " HS " +
            std::to_string(e.sales) + ", " + std::to_string(e.raceFiles) +
            " older race files; OPTION1N: 18 empty category tables, HAHAUMA " +
            std::to_string(e.dams) + " dams";
  }
  return line;
}

Summary Generate(const Options& options) {
  const auto say = [&](const std::string& s) {
    if (options.progress) options.progress(s);
  };
  say("building the world");
  const World world = BuildWorld(options.size, options.seed, options.hazards);
  Summary summary;
  if (!options.earlier.empty()) {
    say("writing the earlier generation");
    summary.earlier = WriteEarlier(world, options.earlier);
  }
  if (options.out.empty()) return summary;
  say("laying out the records");
  std::vector<KindStream> streams = Streams(world, options);

  // Kinds take turns, a block of records each, so that files mix kinds.
  const Shape shape = ShapeOf(options.size);
  std::vector<const std::string*> order;
  {
    std::size_t total = 0;
    for (const auto& s : streams) total += s.records.size();
    order.reserve(total);
    std::vector<std::size_t> next(streams.size(), 0);
    bool any = true;
    while (any) {
      any = false;
      for (std::size_t k = 0; k < streams.size(); ++k) {
        const auto& v = streams[k].records;
        for (std::size_t b = 0; b < shape.block && next[k] < v.size(); ++b) {
          order.push_back(&v[next[k]++]);
          any = true;
        }
      }
    }
  }

  summary.out = options.out;
  summary.expected = options.expected.empty() ? options.out.parent_path() /
                                                    (options.out.filename().string() + "-expected")
                                              : options.expected;
  if (options.out.filename().empty()) {
    const fs::path trimmed = options.out.parent_path();
    summary.expected = options.expected.empty()
                           ? trimmed.parent_path() / (trimmed.filename().string() + "-expected")
                           : options.expected;
  }
  CreateFolders(options.out / "pending");
  CreateFolders(summary.expected);
  RemoveOurFiles(options.out);
  RemoveOurFiles(options.out / "pending");

  const std::size_t files = static_cast<std::size_t>(shape.files);
  const std::size_t per = (order.size() + files - 1) / files;
  const std::size_t firstPending = files - files / 3;
  const std::size_t damaged = options.hazards.damagedFile ? files / 3 : files;
  for (std::size_t f = 0; f < files; ++f) {
    const std::size_t from = std::min(order.size(), f * per),
                      to = std::min(order.size(), from + per);
    const std::vector<const std::string*> part(order.begin() + static_cast<std::ptrdiff_t>(from),
                                               order.begin() + static_cast<std::ptrdiff_t>(to));
    char name[32];
    std::snprintf(name, sizeof name, "D%04zu.dat", f + 1);
    const bool pending = f >= firstPending;
    WriteFile((pending ? options.out / "pending" : options.out) / name, part);
    if (f == damaged) {
      // The cached copy is garbage; the good one is still to download.
      WriteFile(options.out / "pending" / name, part);
      const std::string garbage = "HN damaged file\r\n";
      WriteFile(options.out / name, {&garbage});
      WriteFile(options.out / (std::string(name) + ".damaged"), {});
      ++summary.damaged;
    }
    if (pending) ++summary.pending;
    ++summary.files;
    if (f % 20 == 19) say("files " + std::to_string(f + 1) + " of " + std::to_string(files));
  }

  say("writing the expected raw files");
  std::vector<std::function<void()>> jobs;
  // Why a file could not be written, per job; reported once every job has ended.
  std::vector<std::string> unwritten(streams.size());
  for (std::size_t k = 0; k + 1 < streams.size(); ++k) {
    jobs.push_back([&, k] {
      const KindStream& s = streams[k];
      const fs::path path = summary.expected / RawFileName(s.kind);
      errno = 0;
      std::ofstream out(path, std::ios::binary | std::ios::trunc);
      const records::Layout& layout = *records::LayoutOfKind(s.kind);
      records::ParsedRecord parsed(layout);
      std::string stored;
      for (const std::string& r : s.records) {
        if (s.kind == "HS") {
          out.write(r.data(), static_cast<std::streamsize>(r.size()));
          continue;
        }
        records::Parse(r, parsed);
        records::ToFixed(parsed, stored);
        out.write(stored.data(), static_cast<std::streamsize>(stored.size()));
      }
      out.close();
      if (!out) unwritten[k] = Unwritten(path);
    });
  }
  RunAll(jobs);
  for (const std::string& message : unwritten) {
    if (!message.empty()) throw std::runtime_error(message);
  }
  for (const auto& s : streams) summary.records.push_back({s.kind, s.records.size()});
  return summary;
}

}  // namespace meridax::sample
