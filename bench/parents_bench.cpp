// Time of each breeding step against the time it takes to copy the files it reads and
// writes, on a sample world (the realistic one by default: 200,000 horses, 300,000
// breeding horses, 600,000 offspring records).
//   parents_bench [small|year|realistic [steps]]
// steps names the buttons to run by number ("4,5,11,7", all of them by default); the
// horse step runs first, untimed, for the cleaned horse file the offspring steps read.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "datasetup/preparation/main_window_steps.h"
#include "platform/drive.h"
#include "tools/sample/service.h"

namespace {

namespace fs = std::filesystem;
using namespace meridax;

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
  const auto size = sample::SizeNamed(argc > 1 ? argv[1] : "realistic");
  if (!size) {
    std::fprintf(stderr, "usage: parents_bench [small|year|realistic [steps]]\n");
    return 2;
  }
  const std::string only = argc > 2 ? "," + std::string(argv[2]) + "," : "";
  std::string pattern = (fs::temp_directory_path() / "meridax-bench-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) return 1;
  const fs::path root = pattern;
  SetDriveRoot(root);
  const fs::path data = root / "MERIDAXPROJECT";
  for (const char* sub :
       {"OPTION1N", "HAHAHAN", "HAHA", "HAHAN", "SHUBOBA", "SHUBOBAN", "KYOSOBA", "KYOSOBAN"}) {
    fs::create_directories(data / sub);
  }
  sample::Options options;
  options.size = *size;
  options.out = root / "JVDATA";
  options.expected = data;  // the raw record files, as a download leaves them
  sample::Generate(options);
  fs::remove_all(options.out);

  MainWindowSteps steps;
  RecordingHost horseHost;
  const auto click = [&](const char* control, StepHost& host) {
    return RunControl(*FindControl(kMainWindow, control), steps, host);
  };
  if (click("Command3", horseHost) != StepResult::kOk) {
    std::fprintf(stderr, "%s\n", horseHost.Status().c_str());
    return 1;
  }
  struct Step {
    const char* name;
    const char* number;
    const char* control;
    std::vector<std::string> inputs;
  };
  const Step list[] = {
      {"SK（母産駒）", "4", "Command4", {"SK20190101.dat", "UM20190101NEW.dat"}},
      {"SK（父産駒）", "5", "Command5", {"SK20190101.dat", "UM20190101NEW.dat"}},
      {"SK/HN", "11", "Command11", {"SK20190101NEW.dat", "HAHAHANNUM20190101.dat"}},
      {"HN（繁殖）", "7", "Command7", {"HN20190101.dat"}},
  };
  int failed = 0;
  for (const Step& step : list) {
    if (!only.empty() && only.find("," + std::string(step.number) + ",") == std::string::npos) {
      continue;
    }
    RecordingHost host;
    const auto before = fs::file_time_type::clock::now();
    StepResult result = StepResult::kOk;
    const double took = Seconds([&] { result = click(step.control, host); });
    const double copy = CopyTime(data, step.inputs, before, root / "copy");
    std::printf("%-14s %6.2f s, copying its files %6.2f s: %.2f times  (%s)\n", step.name, took,
                copy, took / copy, host.Status().c_str());
    if (result != StepResult::kOk) ++failed;
  }
  fs::remove_all(root);
  return failed ? 1 : 0;
}
