// Time of each breeding step against the time it takes to copy the files it reads and
// writes, on generated data.
//   parents_bench [offspring [horses [breeding-horses [steps]]]]
// Defaults: 600000 offspring, 600000 horses, 300000 breeding horses; steps names the
// buttons to run by number ("4,5,7,11"), all of them by default.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "datasetup/preparation/main_window_steps.h"
#include "platform/drive.h"
#include "platform/text_file.h"
#include "records/horse_layouts.h"

namespace {

namespace fs = std::filesystem;
using namespace meridax;

std::string Digits(long value, int width) {
  std::string text = std::to_string(value);
  if (static_cast<int>(text.size()) < width) text.insert(0, width - text.size(), '0');
  return text;
}

std::string Blank(std::size_t length) {
  std::string rec(length, ' ');
  rec[length - 2] = '\r';
  rec[length - 1] = '\n';
  return rec;
}

std::string Dam(long k) {
  return "1" + Digits(k, 9);
}
std::string Sire(long k) {
  return "2" + Digits(k, 9);
}

void Generate(const fs::path& data, long offspring, long horses, long breeding) {
  std::mt19937 random(1);
  const long dams = std::max(1L, offspring / 4);
  const long sires = std::max(1L, offspring / 60);
  {
    namespace sk = records::sk;
    std::string bytes;
    for (long i = 0; i < offspring; ++i) {
      std::string rec = Blank(208);
      records::Put(rec, sk::RecordSpec, "SK");
      records::Put(rec, sk::DataCategory, random() % 20 ? "1" : "0");
      records::Put(rec, sk::CreatedDate, "20190105");
      // Shuffled ids, a few repeated.
      const long id = random() % 50 ? i : static_cast<long>(random() % offspring);
      records::Put(rec, sk::HorseId, Digits(2000 + id % 20, 4) + Digits(id, 6));
      records::Put(rec, sk::PedigreeBreedingNumbers.At(1),
                   Sire(static_cast<long>(random() % sires)));
      records::Put(rec, sk::PedigreeBreedingNumbers.At(2), Dam(static_cast<long>(random() % dams)));
      bytes += rec;
    }
    TextWriter(data / "SK20190101.dat", TextWriter::Mode::kOutput).Raw(bytes).Close();
  }
  {
    namespace um = records::um;
    TextWriter out(data / "UM20190101NEW.dat", TextWriter::Mode::kOutput);
    for (long i = 0; i < horses; ++i) {
      std::string rec = Blank(1609);
      records::Put(rec, um::RecordSpec, "UM");
      records::Put(rec, um::DataCategory, "1");
      records::Put(rec, um::HorseId, Digits(2000 + i % 20, 4) + Digits(i, 6));
      records::Put(rec, um::Pedigree_BreedingNumber.In(1),
                   Sire(static_cast<long>(random() % sires)));
      records::Put(rec, um::Pedigree_BreedingNumber.In(2), Dam(static_cast<long>(random() % dams)));
      for (const auto f :
           {um::FinishCountsByTrack, um::FinishCountsByGoing, um::FinishCountsByDistance}) {
        for (int r = 1; r <= f.count; ++r) {
          for (int c = 1; c <= 6; ++c) {
            records::Put(rec, f.At(r).Cell(c), Digits(static_cast<long>(random() % 4), 3));
          }
        }
      }
      for (const auto f : {um::FinishCountsOverall, um::FinishCountsJra, um::RunningStyleCounts}) {
        for (int k = 1; k <= f.count; ++k) {
          records::Put(rec, f.At(k), Digits(static_cast<long>(random() % 9), 3));
        }
      }
      for (const auto f :
           {um::FlatPrizeTotal, um::JumpPrizeTotal, um::FlatEarningsTotal, um::JumpEarningsTotal}) {
        records::Put(rec, f, Digits(static_cast<long>(random() % 100000), 9));
      }
      out.Raw(rec);
    }
    out.Close();
  }
  {
    namespace hn = records::hn;
    TextWriter out(data / "HN20190101.dat", TextWriter::Mode::kOutput);
    for (long i = 0; i < breeding; ++i) {
      std::string rec = Blank(251);
      const bool mare = i % 2 == 0;
      records::Put(rec, hn::RecordSpec, "HN");
      records::Put(rec, hn::DataCategory, "1");
      records::Put(rec, hn::CreatedDate, "20190105");
      records::Put(rec, hn::BreedingNumber, mare ? Dam(i / 2) : Sire(i / 2));
      records::Put(rec, hn::HorseName, "HORSE" + std::to_string(i));
      records::Put(rec, hn::BirthYear, "1995");
      records::Put(rec, hn::SexCode, mare ? "2" : "1");
      records::Put(rec, hn::SireBreedingNumber, Sire(static_cast<long>(random() % sires)));
      // Dams point to older mares, so chains run many generations.
      records::Put(rec, hn::DamBreedingNumber, Dam(i / 2 + 1 + static_cast<long>(random() % 40)));
      out.Raw(rec);
    }
    out.Close();
  }
}

// Every file of the data folder, as names relative to it.
std::set<std::string> FilesOf(const fs::path& data) {
  std::set<std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(data)) {
    if (e.is_regular_file()) files.insert(e.path().string().substr(data.string().size() + 1));
  }
  return files;
}

double Seconds(const std::function<void()>& f) {
  const auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Copies the files a step read and wrote (`inputs` and whatever it left newer than
// `before`) into a scratch folder.
double CopyTime(const fs::path& data, const std::vector<std::string>& inputs,
                fs::file_time_type before, const fs::path& scratch) {
  std::vector<std::string> files = inputs;
  for (const std::string& f : FilesOf(data)) {
    if (fs::last_write_time(data / f) >= before) files.push_back(f);
  }
  fs::remove_all(scratch);
  fs::create_directories(scratch);
  std::set<fs::path> folders;
  for (const std::string& f : files) folders.insert((scratch / f).parent_path());
  for (const fs::path& folder : folders) fs::create_directories(folder);
  const double seconds = Seconds([&] {
    for (const std::string& f : files) {
      fs::copy_file(data / f, scratch / f, fs::copy_options::overwrite_existing);
    }
  });
  fs::remove_all(scratch);
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  const long offspring = argc > 1 ? std::atol(argv[1]) : 600000;
  const long horses = argc > 2 ? std::atol(argv[2]) : 600000;
  const long breeding = argc > 3 ? std::atol(argv[3]) : 300000;
  const std::string only = argc > 4 ? "," + std::string(argv[4]) + "," : "";
  std::string pattern = (fs::temp_directory_path() / "meridax-bench-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) return 1;
  const fs::path root = pattern;
  SetDriveRoot(root);
  const fs::path data = root / "MERIDAXPROJECT";
  for (const char* sub : {"OPTION1N", "HAHAHAN", "HAHA", "HAHAN", "SHUBOBA", "SHUBOBAN"}) {
    fs::create_directories(data / sub);
  }
  Generate(data, offspring, horses, breeding);

  MainWindowSteps steps;
  struct Step {
    const char* name;
    const char* number;
    StepResult (MainWindowSteps::*click)(StepHost&);
    std::vector<std::string> inputs;
  };
  const Step list[] = {
      {"SK（母産駒）",
       "4",
       &MainWindowSteps::Command4_Click,
       {"SK20190101.dat", "UM20190101NEW.dat"}},
      {"SK（父産駒）",
       "5",
       &MainWindowSteps::Command5_Click,
       {"SK20190101.dat", "UM20190101NEW.dat"}},
      {"SK/HN",
       "11",
       &MainWindowSteps::Command11_Click,
       {"SK20190101NEW.dat", "HAHAHANNUM20190101.dat"}},
      {"HN（繁殖）", "7", &MainWindowSteps::Command7_Click, {"HN20190101.dat"}},
  };
  int failed = 0;
  for (const Step& step : list) {
    if (!only.empty() && only.find("," + std::string(step.number) + ",") == std::string::npos) {
      continue;
    }
    RecordingHost host;
    const auto before = fs::file_time_type::clock::now();
    StepResult result = StepResult::kOk;
    const double took = Seconds([&] { result = (steps.*step.click)(host); });
    const double copy = CopyTime(data, step.inputs, before, root / "copy");
    std::printf("%-14s %6.2f s, copying its files %6.2f s: %.2f times  (%s)\n", step.name, took,
                copy, took / copy, host.Status().c_str());
    if (result != StepResult::kOk) ++failed;
  }
  fs::remove_all(root);
  return failed ? 1 : 0;
}
