// Time of the category window's factor item and categorisation steps against the floor of
// each: reading the files it reads and writing the files it writes, done plainly. The
// world is made here: horses with extended run files of realistic volume (the runs of the
// realistic sample world, about 145,000, over 40,000 horses), every field of a run filled
// with digits so that the routines compute rather than abandon, and dates, courses, tracks
// and times drawn as races have them.
//   factors_bench [realistic|half]
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "datasetup/common/data_files.h"
#include "datasetup/common/extended_run_record.h"
#include "datasetup/factors/category_steps.h"
#include "platform/drive.h"

namespace {

namespace fs = std::filesystem;
namespace ex = meridax::extended_run;
using namespace meridax;

double Seconds(const std::function<void()>& f) {
  const auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::string Digits(std::mt19937& random, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s.push_back(static_cast<char>('0' + random() % 10));
  return s;
}

std::string Two(int n) {
  return std::string(1, static_cast<char>('0' + n / 10)) + static_cast<char>('0' + n % 10);
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
    std::perror(path.c_str());
    std::exit(1);
  }
  ::close(fd);
}

std::string ReadBytes(const fs::path& path) {
  std::string bytes(fs::file_size(path), '\0');
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0 || ::read(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
    std::perror(path.c_str());
    std::exit(1);
  }
  ::close(fd);
  return bytes;
}

// The floor, as the pipeline benchmark takes it: read every input whole, write every
// output's bytes to a scratch file, and sync.
double Floor(const std::vector<fs::path>& inputs, const std::vector<fs::path>& outputs,
             const fs::path& scratch) {
  std::vector<std::string> written;
  for (const auto& o : outputs) written.push_back(ReadBytes(o));
  return Seconds([&] {
    std::size_t sum = 0;
    for (const auto& i : inputs) sum += ReadBytes(i).size();
    for (std::size_t k = 0; k < written.size(); ++k) {
      WriteBytes(scratch / std::to_string(k), written[k]);
    }
    ::sync();
    if (sum == 0) std::fprintf(stderr, "(no input)\n");
  });
}

}  // namespace

int main(int argc, char** argv) {
  const std::string size = argc > 1 ? argv[1] : "realistic";
  if (size != "realistic" && size != "half") {
    std::fprintf(stderr, "usage: factors_bench [realistic|half]\n");
    return 2;
  }
  const int horses = size == "realistic" ? 40000 : 20000;
  std::string pattern = (fs::temp_directory_path() / "meridax-factors-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) return 1;
  const fs::path root = pattern;
  SetDriveRoot(root);
  const fs::path data = root / "MERIDAXPROJECT";
  fs::create_directories(data / kOptionFolder);
  fs::create_directories(data / kExtendedRunFolder);
  fs::create_directories(root / "scratch");

  std::mt19937 random(2019);
  std::vector<std::string> ids;
  std::vector<fs::path> runFiles;
  std::int64_t runs = 0;
  for (int h = 0; h < horses; ++h) {
    const int born = 2014 + static_cast<int>(random() % 6);
    const std::string id = std::to_string(born) + Digits(random, 6);
    ids.push_back(id);
    std::string file;
    const int count = 1 + static_cast<int>(random() % 6);
    int year = born + 2;
    int month = 1 + static_cast<int>(random() % 12);
    for (int j = 0; j < count; ++j) {
      std::string run = Digits(random, kExtendedRunLength - 2) + "\r\n";
      const int day = 1 + static_cast<int>(random() % 28);
      const int track = static_cast<int>(random() % 3 == 0   ? 23 + random() % 2
                                         : random() % 9 == 0 ? 51 + random() % 9
                                                             : 10 + random() % 13);
      const int distance = track >= 51 ? 3000 : 1000 + 200 * static_cast<int>(random() % 10);
      records::Put(run, ex::RaceYear, std::to_string(year));
      records::Put(run, ex::RaceMonthDay, Two(month) + Two(day));
      records::Put(run, ex::RacecourseCode, Two(1 + static_cast<int>(random() % 12)));
      records::Put(run, ex::HorseId, id);
      records::Put(run, ex::BirthYear, std::to_string(born));
      records::Put(run, ex::BirthMonth, Two(1 + static_cast<int>(random() % 12)));
      records::Put(run, ex::BirthDay, Two(1 + static_cast<int>(random() % 28)));
      records::Put(run, ex::JockeyBirthMonth, Two(1 + static_cast<int>(random() % 12)));
      records::Put(run, ex::JockeyBirthDay, Two(1 + static_cast<int>(random() % 28)));
      records::Put(run, ex::MarketStartDate, std::to_string(born + 1) + "0601");
      records::Put(run, ex::MarketEndDate, std::to_string(born + 1) + "0602");
      records::Put(run, ex::FinishTime, "1" + std::to_string(100 + random() % 400));
      records::Put(run, ex::Last3FurlongTime, std::to_string(330 + random() % 60));
      records::Put(run, ex::TimeBehindWinner, "+0" + Two(static_cast<int>(random() % 80)));
      records::Put(run, ex::Distance, std::to_string(distance));
      records::Put(run, ex::TrackCode, Two(track));
      file += run;
      ++runs;
      month += 1 + static_cast<int>(random() % 3);
      if (month > 12) {
        month -= 12;
        ++year;
      }
    }
    runFiles.push_back(*ExtendedRunFilePath(id));
    WriteBytes(runFiles.back(), file);
  }
  for (const CourseKind kind : kCourseKinds) {
    std::string list;
    for (const auto& id : ids) list += "\"" + id + "\"\r\n";
    WriteBytes(DataPath(HorseListFileName(kind, kFactorPeriod)), list);
  }
  std::printf("%s world: %d horses, %lld runs\n", size.c_str(), horses,
              static_cast<long long>(runs));

  CategorySteps window;
  RecordingHost loadHost;
  window.Form_Load(loadHost);
  int slow = 0;
  const auto report = [&](const char* name, double took, double floor, const std::string& status) {
    const double ratio = took / floor;
    std::printf("%-16s %6.2f s, floor %6.2f s: %5.2f times  (%s)\n", name, took, floor, ratio,
                status.c_str());
    if (ratio > 3) ++slow;
  };
  const struct {
    CourseKind kind;
    const char* factor;
    const char* categorise;
  } steps[] = {{CourseKind::kTurf, "Command2", "Command5"},
               {CourseKind::kDirt, "Command3", "Command6"},
               {CourseKind::kJump, "Command4", "Command7"}};
  const auto click = [&](const char* control, StepHost& host) {
    const ControlSpec& c = *FindControl(kCategoryWindow, control);
    std::string caption(c.caption);
    return std::pair{Seconds([&] { RunControl(c, window, host); }), caption};
  };
  for (const auto& s : steps) {
    RecordingHost host;
    const auto [took, factorName] = click(s.factor, host);
    const fs::path items = DataPath(FactorItemFileName(s.kind));
    std::vector<fs::path> inputs = runFiles;
    inputs.push_back(DataPath(HorseListFileName(s.kind, kFactorPeriod)));
    report(factorName.c_str(), took, Floor(inputs, {items}, root / "scratch"),
           host.Status() + ", " + std::to_string(window.state().ItemRecordCount) + " records");

    const auto [categorised, categoriseName] = click(s.categorise, host);
    std::vector<fs::path> outputs{DataPath(ItemCategoryFileName(s.kind)),
                                  DataPath(ItemCategoryCountFileName(s.kind)),
                                  DataPath(RegressionTotalsFileName(s.kind))};
    for (const auto figure :
         {SpeedFigureKind::kAgari, SpeedFigureKind::kPace, SpeedFigureKind::kSoha}) {
      outputs.push_back(DataPath(RegressionDataFileName(s.kind, figure)));
    }
    report(categoriseName.c_str(), categorised, Floor({items}, outputs, root / "scratch"), "");
  }
  fs::remove_all(root);
  return slow ? 1 : 0;
}
