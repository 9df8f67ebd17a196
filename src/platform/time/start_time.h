#pragma once
#include <chrono>
#include <ctime>
#include <optional>

namespace tavorine {

// When a run started, for its deadline and the time its first console line
// shows. Each clock is read when first asked, which every road that keeps a
// deadline or shows a time does right at its start, in the run's own thread:
// a run that does neither reads no clock, and the first read of a clock
// costs a process more than the rest of a healthy run's arithmetic.
class StartTime {
 public:
  std::chrono::steady_clock::time_point Steady() const {
    if (!steady_) steady_ = std::chrono::steady_clock::now();
    return *steady_;
  }
  std::time_t Wall() const {
    if (!wall_) wall_ = std::time(nullptr);
    return *wall_;
  }

 private:
  mutable std::optional<std::chrono::steady_clock::time_point> steady_;
  mutable std::optional<std::time_t> wall_;
};

}  // namespace tavorine
