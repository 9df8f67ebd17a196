#include "driver/listing_progress.h"

#include "config/listing_file.h"
#include "output/messages.h"
#include "platform/local_time.h"
#include "rfc/trace_file_scan.h"

namespace tavorine {

namespace {

std::string Summary(const std::string& item, const Counters& counters) {
  return "(***) " + item + ": NoSystems=" + std::to_string(counters.SystemCount) +
         ", Processed=" + std::to_string(counters.ProcessedCount) + ", Failed=" + std::to_string(counters.FailedCount);
}

}  // namespace

std::optional<RunFailure> ListingProgress::Take(const PreparedSystem& system, const SystemResult* result) {
  const std::lock_guard lock(mutex_);
  ++taken_;
  ++counters_.SystemCount;
  if (system.skipped) {
    context_.narration.Say("System " + system.entry + ": skipped, " +
                           (StaysInSensorFolder(system.entry) ? "no profile of that name opens"
                                                              : "it names a file outside the sensor folder"));
    return std::nullopt;
  }
  if (result->ending == SystemResult::Ending::FailedCheck) return RunFailure{result->errorText + TraceFileScan()};
  if (result->ending == SystemResult::Ending::DatabaseMismatch) return messages::DatabaseMismatch();
  errorText_ = result->errorText;
  const bool processed = !system.profileFault && !result->logonFailed && result->callStatus == CallStatus::OK;
  ++(processed ? counters_.ProcessedCount : counters_.FailedCount);
  const std::string why = system.profileFault    ? "the profile has a fault (tavorine-profile check tells which)"
                          : result->logonFailure ? result->logonFailure->message
                          : result->logonFailed  ? "no connection (see Dev_Rfc.Trc)"
                                                 : result->errorText;
  WriteState(system, processed ? "Processed" : "Rfc Failure", processed ? "" : why);
  return std::nullopt;
}

void ListingProgress::GiveUp(const PreparedSystem& system) {
  const std::lock_guard lock(mutex_);
  ++taken_;
  ++counters_.SystemCount;
  if (system.skipped) return;
  errorText_.clear();
  ++counters_.FailedCount;
  WriteState(system, "No Answer", "not done when the run's time was up");
}

void ListingProgress::FinishAtDeadline(const std::vector<std::string>& entries) {
  for (std::size_t next = Taken(); next < entries.size(); ++next) GiveUp(PrepareSystem(options_, entries[next]));
  WriteSummary();
}

void ListingProgress::WriteSummary() {
  const std::lock_guard lock(mutex_);
  ResultDocument document(options_.outputMode);
  document.FollowOptions(options_.optionsText, options_.optionsAsGiven);
  document.AppendText(errorText_);
  document.DocTextOpen();
  document.AppendText(Summary(options_.itemText, counters_));
  document.DocTextClose();
  if (document.WritesLimits()) {
    document.DocCountChannel("Systems", std::to_string(counters_.SystemCount), false);
    document.DocCountChannel("Processed", std::to_string(counters_.ProcessedCount), false);
    document.DocCountChannel("Failed", std::to_string(counters_.FailedCount), true);
  }
  document.DocClose();
  context_.output.Write(document.Text() + "\n");
  if (options_.consoleTrace) {
    context_.output.Write("\n* " + LocalTimeOfDay() + " SAP " + kProgramName + " now processed...\n");
  }
}

std::size_t ListingProgress::Taken() const {
  const std::lock_guard lock(mutex_);
  return taken_;
}

void ListingProgress::WriteState(const PreparedSystem& system, const std::string& state, const std::string& detail) {
  if (options_.consoleTrace) context_.output.Write("\n" + system.consoleLine + " State=" + state + "\n");
  context_.narration.Say("System " + system.entry + ": " + state + (detail.empty() ? "" : ", " + detail));
}

}  // namespace tavorine
