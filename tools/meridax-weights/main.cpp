// Fits the weight tables of one course kind from its categorisation in the data folder and
// writes them under OPTION1N, where the category window loads them:
//   meridax-weights [--drive DIR] turf|dirt|jump
// Prints per speed kind the runs used, the ridge chosen by 5-fold cross-validation, and R²
// and the root-mean-square error in sample and held out. Exits 1 when the inputs are
// missing or inconsistent (nothing is written then) or standard output cannot be written,
// 2 for a wrong argument.

#include <iostream>
#include <optional>
#include <string>

#include "platform/drive.h"
#include "platform/io_error.h"
#include "tools/meridax-weights/weight_tables.h"

namespace {

int Usage() {
  std::cerr << "usage: meridax-weights [--drive DIR] turf|dirt|jump\n";
  return 2;
}

std::optional<meridax::CourseKind> KindNamed(const std::string& name) {
  using meridax::CourseKind;
  if (name == "turf") return CourseKind::kTurf;
  if (name == "dirt") return CourseKind::kDirt;
  if (name == "jump") return CourseKind::kJump;
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) try {
  std::optional<meridax::CourseKind> kind;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--drive") {
      if (i + 1 >= argc) {
        std::cerr << "meridax-weights: --drive needs a value\n";
        return Usage();
      }
      // An empty folder would quietly stand for the default drive.
      if (*argv[++i] == '\0') {
        std::cerr << "meridax-weights: the value of --drive is empty\n";
        return Usage();
      }
      meridax::SetDriveRoot(argv[i]);
    } else if (arg == "-h" || arg == "--help") {
      Usage();
      return 0;
    } else if (!kind && KindNamed(arg)) {
      kind = KindNamed(arg);
    } else {
      std::cerr << "meridax-weights: unknown argument " << arg << '\n';
      return Usage();
    }
  }
  if (!kind) return Usage();
  return meridax::RunWeights(*kind, std::cout, std::cerr);
} catch (...) {
  // RunWeights reports its own failures: the last resort of the arguments.
  std::cerr << "meridax-weights: " << meridax::CurrentFailureText() << '\n';
  return 1;
}
