#include "driver/group_run/listing_progress.h"

#include "config/listing_file.h"
#include "output/check_report.h"
#include "output/result_document.h"
#include "output/xml_text.h"
#include "platform/time/local_time.h"
#include "rfc/trace_file_scan.h"

namespace tavorine {

namespace {

std::string Summary(const std::string& item, const Counters& counters) {
  return "(***) " + item + ": NoSystems=" + std::to_string(counters.SystemCount) +
         ", Processed=" + std::to_string(counters.ProcessedCount) + ", Failed=" + std::to_string(counters.FailedCount);
}

// Why a system failed, for the diagnosis.
std::string WhyFailed(const PreparedSystem& system, const SystemResult& result) {
  if (system.profileFault) return "the profile has a fault (tavorine-profile check tells which)";
  if (!result.outcome) return result.noOutcome;
  const SystemOutcome& outcome = *result.outcome;
  if (outcome.logonFailure) return outcome.logonFailure->message;
  if (outcome.failedAt == CheckStep::Logon) return "no connection (see Dev_Rfc.Trc)";
  return CallErrorText(outcome);
}

}  // namespace

std::optional<RunFailure> ListingProgress::Take(const PreparedSystem& system, const SystemResult* result) {
  ++counters_.SystemCount;
  if (system.skipped) {
    context_.narration.Say("System " + system.entry + ": skipped, " +
                           (StaysInSensorFolder(system.entry) ? "no profile of that name opens"
                                                              : "it names a file outside the sensor folder"));
    return std::nullopt;
  }
  const std::optional<SystemOutcome>& outcome = result->outcome;
  if (outcome) {
    const bool callFailed = outcome->failedAt == CheckStep::CpuRead || outcome->failedAt == CheckStep::SystemInfo;
    if (auto failure = GroupRunFailure(*outcome, callFailed ? TraceFileScan() : std::string())) return failure;
  }
  errorText_ = outcome && outcome->failedAt == CheckStep::MissingObjects ? CallErrorText(*outcome) : "";
  const bool processed = !system.profileFault && outcome && outcome->failedAt == CheckStep::Done;
  ++(processed ? counters_.ProcessedCount : counters_.FailedCount);
  WriteState(system, processed ? "Processed" : "Rfc Failure", processed ? "" : WhyFailed(system, *result));
  return std::nullopt;
}

void ListingProgress::GiveUp(const PreparedSystem& system) {
  ++counters_.SystemCount;
  if (system.skipped) return;
  errorText_.clear();
  ++counters_.FailedCount;
  WriteState(system, "No Answer", "not done when the run's time was up");
}

void ListingProgress::WriteSummary() {
  ResultDocument document(options_.outputMode);
  document.FollowOptions(options_.words.channel, options_.words.limits);
  document.AppendText(errorText_);
  document.DocTextOpen();
  std::string summary = Summary(options_.itemText, counters_);
  if (options_.words.detail && !failed_.empty()) {
    summary = WithinTextLimit(summary + " - " + failed_, WritesXml(options_.outputMode));
  }
  document.AppendText(summary);
  document.DocTextClose();
  if (document.WritesLimits()) {
    document.DocCountChannel("Systems", std::to_string(counters_.SystemCount), false);
    document.DocCountChannel("Processed", std::to_string(counters_.ProcessedCount), false);
    document.DocCountChannel("Failed", std::to_string(counters_.FailedCount), true);
  }
  document.DocClose();
  context_.output.Write(document.Text() + "\n");
  if (options_.consoleTrace) context_.output.Write(NowProcessedLine(LocalTimeOfDay()));
}

void ListingProgress::WriteState(const PreparedSystem& system, const std::string& state, const std::string& detail) {
  if (state != "Processed") failed_ += (failed_.empty() ? "" : ", ") + system.entry + ": " + state;
  if (options_.consoleTrace) context_.output.Write("\n" + system.consoleLine + " State=" + state + "\n");
  context_.narration.Say("System " + system.entry + ": " + state + (detail.empty() ? "" : ", " + detail));
}

}  // namespace tavorine
