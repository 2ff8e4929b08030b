// Time of "計算" against the time it takes to copy the files it reads and writes, on a
// generated earlier generation, at a volume and at half of it to show that it is linear in
// the runs.
//   runhistory_bench [horses [runs-per-horse]]   (default 40000 horses, 10 runs each)
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "datasetup/runhistory/run_history_steps.h"
#include "platform/drive.h"
#include "records/layouts.h"
#include "tools/sample/rng.h"

namespace {

namespace fs = std::filesystem;
using namespace meridax;

double Seconds(const std::function<void()>& f) {
  const auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::string Digits(int value, int width) {
  std::string s = std::to_string(value);
  return std::string(static_cast<std::size_t>(width) - s.size(), '0') + s;
}

std::string Blank(const records::Layout& layout) {
  std::string r(static_cast<std::size_t>(layout.storedLength), 'x');
  r[r.size() - 2] = '\r';
  r.back() = '\n';
  return r;
}

void Append(const fs::path& file, const std::string& bytes) {
  std::FILE* f = std::fopen(file.c_str(), "ab");
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

// An earlier generation of `horses` horses with about `runs` runs each.
void Generate(const fs::path& data, int horses, int runs) {
  sample::Rng rng(7);
  const int races = horses * runs / 12 + 1, jockeys = 300, dams = horses / 5 + 1;
  const auto horseId = [](int h) { return "2010" + Digits(h, 6); };
  std::string list, um, ra, ks, hs;
  std::vector<std::string> foals(static_cast<std::size_t>(dams));
  std::string record = Blank(records::kHorseLayout);
  for (int h = 0; h < horses; ++h) {
    const int dam = static_cast<int>(rng.Below(static_cast<std::uint32_t>(dams)));
    records::Put(record, records::um::HorseId, horseId(h));
    records::Put(record, records::um::Pedigree_BreedingNumber.In(2), "12" + Digits(dam, 8));
    um += record;
    list += "\"" + horseId(h) + "\"\r\n";
    std::string foal = Blank(records::kOffspringLayout);
    records::Put(foal, records::sk::HorseId, horseId(h));
    foals[static_cast<std::size_t>(dam)] += foal;
    if (rng.Chance(0.3)) {
      std::string sale(200, 'y');
      records::Put(sale, records::hs::HorseId, horseId(h));
      hs += sale.substr(0, 198) + "\r\n";
    }
  }
  const auto raceKey = [](int r, std::string& rec) {
    records::Put(rec, records::ra::RacecourseCode, Digits(1 + r % 10, 2));
    records::Put(rec, records::ra::RaceYear, Digits(2000 + r / 10000, 4));
    records::Put(rec, records::ra::RaceMonthDay, Digits(r / 12 % 1000, 4));
    records::Put(rec, records::ra::RaceNumber, Digits(1 + r % 12, 2));
  };
  record = Blank(records::kRaceLayout);
  for (int r = 0; r < races; ++r) {
    raceKey(r, record);
    ra += record;
  }
  record = Blank(records::kJockeyLayout);
  for (int k = 0; k < jockeys; ++k) {
    records::Put(record, records::ks::JockeyCode, Digits(k, 5));
    ks += record;
  }
  const fs::path root = data;
  auto write = [&](const std::string& name, const std::string& bytes) {
    Append(root / name, bytes);
  };
  write("KETTONUM20180101.dat", list);
  write("UM20180101NEW.dat", um);
  write("RA20180101NEW.dat", ra);
  write("KS20180101NEW.dat", ks);
  write("HS20180101.dat", hs);
  for (int d = 0; d < dams; ++d) {
    write("HAHAHAN/12" + Digits(d, 8) + ".dat", foals[static_cast<std::size_t>(d)]);
  }
  record = Blank(records::kRunnerLayout);
  for (int h = 0; h < horses; ++h) {
    std::string file;
    const int n = static_cast<int>(rng.Below(static_cast<std::uint32_t>(2 * runs + 1)));
    for (int j = 0; j < n; ++j) {
      records::Put(record, records::se::HorseId, horseId(h));
      std::string key = Blank(records::kRaceLayout);
      raceKey(static_cast<int>(rng.Below(static_cast<std::uint32_t>(races))), key);
      for (const auto f : {records::se::RacecourseCode, records::se::RaceYear,
                           records::se::RaceMonthDay, records::se::RaceNumber}) {
        records::Put(record, f, records::View(key, f));
      }
      records::Put(record, records::se::JockeyCode,
                   Digits(static_cast<int>(rng.Below(jockeys + 20)), 5));
      file += record;
    }
    write("UMAGOTOSETUP/" + horseId(h) + ".dat", file);
  }
}

// Copies every file of the data folder (the step read or wrote each of them) elsewhere.
double CopyTime(const fs::path& data, const fs::path& scratch) {
  fs::remove_all(scratch);
  return Seconds([&] { fs::copy(data, scratch, fs::copy_options::recursive); });
}

}  // namespace

int main(int argc, char** argv) {
  const int horses = argc > 1 ? std::atoi(argv[1]) : 40000;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 10;
  if (horses <= 0 || runs <= 0) {
    std::fprintf(stderr, "usage: runhistory_bench [horses [runs-per-horse]]\n");
    return 2;
  }
  int failed = 0;
  for (const int size : {horses / 2, horses}) {
    std::string pattern = (fs::temp_directory_path() / "meridax-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) return 1;
    const fs::path root = pattern;
    SetDriveRoot(root);
    const fs::path data = root / "MERIDAXPROJECT";
    for (const char* sub : {"HAHAHAN", "UMAGOTOSETUP", "UMAGOTOEXSETUP"}) {
      fs::create_directories(data / sub);
    }
    Generate(data, size, runs);
    RecordingHost host;
    RunHistorySteps window;
    window.Form_Load(host);
    StepResult result = StepResult::kOk;
    ::sync();
    const double took = Seconds([&] {
      result = RunControl(*FindProcedure(kRunHistoryWindow, "Command1_Click"), window, host);
    });
    const double copy = CopyTime(data, root / "copy");
    std::printf("計算 %7d horses: %6.2f s, copying its files %6.2f s: %.2f times  (%s)\n", size,
                took, copy, took / copy, host.Status().c_str());
    if (result != StepResult::kOk) ++failed;
    fs::remove_all(root);
  }
  return failed ? 1 : 0;
}
