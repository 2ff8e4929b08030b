#pragma once

#include <cstdint>

namespace meridax {

// What the main window keeps from one step to the next. Only the record count passes
// between steps: most steps set it to the count of a file they read and show it in their
// status text. Steps of the breeding subsystem take the same state.
struct MainWindowState {
  std::int32_t recordCount = 0;
};

}  // namespace meridax
