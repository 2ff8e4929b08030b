// The grid and list views over their models at the sizes of the category and run-history
// windows: filling, showing and scrolling, and the memory it takes.
//   views_bench [entries]   (offscreen unless QT_QPA_PLATFORM says otherwise)
#include <QScrollBar>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/qt/model_views.h"
#include "platform/qt/program_start.h"

namespace {

double Seconds(const std::chrono::steady_clock::time_point& since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  meridax::QtProgram program(argc, argv);
  const long entries = argc > 1 ? std::atol(argv[1]) : 200000;

  const long before = ResidentKiB();
  auto start = std::chrono::steady_clock::now();
  meridax::TextGrid grid(5701, 61);
  for (int r = 0; r < grid.Rows(); ++r) {
    for (int c = 0; c < grid.Cols(); ++c) grid.SetTextMatrix(r, c, std::to_string(r * 100 + c));
  }
  meridax::GridView gridView(grid, nullptr);
  gridView.resize(800, 600);
  gridView.show();
  gridView.Refresh();
  QApplication::processEvents();
  std::printf("grid 5701 x 61: filled and shown in %.3f s, %ld KiB\n", Seconds(start),
              ResidentKiB() - before);
  start = std::chrono::steady_clock::now();
  for (int step = 0; step < 20; ++step) {
    gridView.verticalScrollBar()->setValue(gridView.verticalScrollBar()->maximum() * step / 19);
    QApplication::processEvents();
  }
  std::printf("grid: 20 scrolls in %.3f s\n", Seconds(start));

  const long listBefore = ResidentKiB();
  start = std::chrono::steady_clock::now();
  meridax::ListModel list;
  meridax::ListBoxView listView(list, nullptr);
  listView.resize(300, 600);
  listView.show();
  for (long i = 0; i < entries; ++i) list.AddItem(std::to_string(2016100000 + i) + "EX.dat");
  listView.Refresh();
  QApplication::processEvents();
  std::printf("list of %ld entries: filled and shown in %.3f s, %ld KiB\n", entries, Seconds(start),
              ResidentKiB() - listBefore);
  start = std::chrono::steady_clock::now();
  list.SetSelected(entries - 1);
  listView.Refresh();
  listView.scrollToBottom();
  QApplication::processEvents();
  std::printf("list: selecting and showing the last entry in %.3f s\n", Seconds(start));
}
