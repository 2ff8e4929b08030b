#pragma once

#include <exception>
#include <functional>
#include <thread>
#include <vector>

namespace meridax::sample {

// Runs the jobs on threads of their own, waits for all of them and then rethrows the first
// failure of a job, if any.
inline void RunAll(const std::vector<std::function<void()>>& jobs) {
  std::vector<std::exception_ptr> failures(jobs.size());
  std::vector<std::thread> threads(jobs.size());
  for (std::size_t i = 0; i < jobs.size(); ++i) {
    threads[i] = std::thread([&, i] {
      try {
        jobs[i]();
      } catch (...) {
        failures[i] = std::current_exception();
      }
    });
  }
  for (auto& t : threads) t.join();
  for (const auto& f : failures) {
    if (f) std::rethrow_exception(f);
  }
}

}  // namespace meridax::sample
