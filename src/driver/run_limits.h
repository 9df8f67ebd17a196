#pragma once
#include <optional>
#include <string_view>
#include <variant>

#include "output/run_failure.h"

namespace tavorine {

inline constexpr int kDefaultParallelChecks = 8;
inline constexpr int kMostParallelChecks = 64;
// The monitor gives a sensor at most 900 s.
inline constexpr int kLongestTimeout = 900;

// How a run may spend its time: ",PAR=n" systems of a listing run checked at
// once (1: one after the other in the process itself), ",TIMEOUT=n" seconds
// from the start until the run ends with what it has.
struct RunLimits {
  int parallelChecks = kDefaultParallelChecks;
  std::optional<int> timeoutSeconds;
};

// The limits that the options set: the words found in the upper-cased
// options, their numbers read as typed. Fails with Error 1048 for a number
// out of range or none.
std::variant<RunLimits, RunFailure> ReadRunLimits(std::string_view optionsText, std::string_view optionsAsGiven);

}  // namespace tavorine
