#include "driver/run/check_narration.h"

#include "checks/system_check.h"
#include "output/check_report.h"
#include "rfc/trace_file_scan.h"

namespace tavorine {

void CheckNarration::TellAnswered(CheckStep step, const SystemOutcome& sofar) {
  if (step == CheckStep::Logon) return narration_.Say("connected", indent_ + 1);
  if (step == CheckStep::DatabaseTest) return;
  narration_.Say(std::string(StepName(step)) + ": answered", indent_);
  if (step == CheckStep::SystemInfo) {
    narration_.Say("database system \"" + sofar.databaseSystem + "\": " +
                       (IsDb4(sofar.databaseSystem) ? "DB4" : "not DB4"),
                   indent_ + 1);
  }
}

void CheckNarration::Begin(CheckStep step, const SystemOutcome& sofar) {
  if (step != CheckStep::Logon) TellAnswered(told_, sofar);
  told_ = step;
  if (step == CheckStep::Logon && throughSapRfcIni_) {
    narration_.Say("Logon through SapRfc.ini, copied from SapRfc." + profile_.Destination +
                       " in the working directory: the library takes the connection data of " +
                       profile_.Destination + " from it",
                   indent_);
    narration_.Say("logging on to " + profile_.Destination + " through SapRfc.ini ...", indent_ + 1);
  } else if (step == CheckStep::Logon) {
    narration_.Say("Logon with RfcOpen: host " + profile_.Hostname + ", system number " + profile_.Sysnr +
                       ", client " + profile_.Client + ", user " + profile_.User + ", language " + profile_.Language,
                   indent_);
    narration_.Say("logging on to " + profile_.Destination + " at " + profile_.Hostname + " ...", indent_ + 1);
  } else if (step != CheckStep::DatabaseTest) {
    narration_.Say("calling " + std::string(StepName(step)) + " ...", indent_);
  }
}

void CheckNarration::End(const SystemOutcome& outcome) {
  if (outcome.failedAt == CheckStep::Done) return TellAnswered(told_, outcome);
  if (outcome.failedAt == CheckStep::DatabaseTest) return;
  if (outcome.failedAt != CheckStep::Logon) {
    return narration_.Say(std::string(StepName(outcome.failedAt)) + ": failed, " + CallErrorText(outcome), indent_);
  }
  if (outcome.logonFailure) return narration_.Say("not made: " + outcome.logonFailure->message, indent_ + 1);
  // The scan's text begins with " - ", the separator it has in the document.
  narration_.Say("no connection; the library's trace Dev_Rfc.Trc ends with: " + TraceFileScan().substr(3),
                 indent_ + 1);
}

}  // namespace tavorine
