#pragma once
#include <string>

#include "config/profile_data.h"
#include "driver/run/narration.h"
#include "output/check_outcome.h"

namespace tavorine {

// What a diagnosis tells of one system's check: each step as it begins,
// before the check waits on the system, so that a run that hangs shows
// where; then what the step gave, once it answered. Borrows the narration
// and the profile.
class CheckNarration {
 public:
  CheckNarration(const Narration& narration, const ProfileData& profile, bool throughSapRfcIni, int indent)
      : narration_(narration), profile_(profile), throughSapRfcIni_(throughSapRfcIni), indent_(indent) {}

  // The step begins: what the steps before it gave, then what it does.
  void Begin(CheckStep step, const SystemOutcome& sofar);
  // The check ended: what its last step gave.
  void End(const SystemOutcome& outcome);

 private:
  void TellAnswered(CheckStep step, const SystemOutcome& sofar);

  const Narration& narration_;
  const ProfileData& profile_;
  bool throughSapRfcIni_;
  int indent_;
  CheckStep told_ = CheckStep::Logon;  // the step begun last
};

}  // namespace tavorine
