#pragma once
#include <optional>
#include <string>

#include "config/profile_data.h"
#include "driver/run/run_options.h"
#include "output/check_outcome.h"

namespace tavorine {

// One entry of a group run before its check: its profile read.
struct PreparedSystem {
  std::string entry;
  bool skipped = true;  // its profile does not open, or the entry leaves the sensor folder
  bool profileFault = false;
  std::string consoleLine;  // "* hh:mm:ss entry, host, destination, sysnr, client"
  ProfileData profile;
};

PreparedSystem PrepareSystem(const RunOptions& options, const std::string& entry);

// What a group run knows of a system's check when it takes the system in:
// its outcome, or why there is none.
struct SystemResult {
  std::optional<SystemOutcome> outcome;
  std::string noOutcome;  // for the diagnosis: how the check ended without an outcome
};

}  // namespace tavorine
