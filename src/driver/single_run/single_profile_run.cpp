#include "driver/single_run/single_profile_run.h"

#include <atomic>
#include <variant>

#include "checks/system_check.h"
#include "config/profile_report.h"
#include "config/text_encoding.h"
#include "driver/run/check_narration.h"
#include "driver/run/rfc_run.h"
#include "driver/run/road.h"
#include "driver/run/run_deadline.h"
#include "driver/single_run/progress_lines.h"
#include "output/check_report.h"
#include "output/messages.h"
#include "platform/files/delete_file.h"
#include "platform/time/local_time.h"
#include "rfc/sap_rfc_ini.h"
#include "rfc/trace_file_scan.h"

namespace tavorine {

namespace {

// The step the run is in, for the message of a deadline that comes while the
// library does not answer.
using Step = std::atomic<CheckStep>;

// A diagnosis shows the profile's values (the password never), or why it
// cannot be read.
void TellProfile(const Narration& narration, const ProfileReading& reading, const std::string& encodingProblem) {
  if (!encodingProblem.empty()) {
    return narration.Say("The profile cannot be read as it is: " + encodingProblem +
                         ". Save it as ANSI, or write it anew with tavorine-profile.");
  }
  narration.Say("The profile's values:");
  narration.Say(ProfileReport(reading), 1);
}

}  // namespace

RunEnd RunSingleProfile(const RunOptions& options, InputFile& profileFile, const RunContext& context) {
  OutputSink& output = context.output;
  const Narration& narration = context.narration;
  const std::string encodingProblem = narration.Told() ? EncodingProblem(profileFile.ReadAt(0, 512)) : "";
  const ProfileReading reading =
      ReadProfile(profileFile, kSingleProfilePieceLength, PasswordFaultHandling::StopReading);
  if (narration.Told()) TellProfile(narration, reading, encodingProblem);
  if (reading.fault) return {ProfileFaultMessage(*reading.fault, options.profileName)};
  const ProfileData& profile = reading.data;

  Step step{CheckStep::Logon};
  const Deadline at = DeadlineOf(context, options.words);
  RunDeadline deadline(context, at, [&] {
    output.ClaimEnding();
    const RunFailure noAnswer =
        messages::NoAnswer(options.words.timeoutSeconds.value_or(0), profile.Destination, StepName(step.load()));
    return EndRun({noAnswer}, options.outputMode, output);
  });
  auto started = RfcRun::Start(options, context);
  if (const auto* failure = std::get_if<RunFailure>(&started)) return {*failure};
  RfcRun& rfc = *std::get<std::unique_ptr<RfcRun>>(started);
  rfc.Log().Write(0, "program started", options.programPath);
  rfc.Report().InstallEnvironment();
  rfc.Log().Write(0, "RfcEnvironment called", "");

  if (options.consoleTrace) output.Write(ProgressLines(options, context.started, profile, LocalTimeOfDay()));
  const std::optional<WholeFile> destinationIni = ReadDestinationIni(profile.Destination);
  CheckNarration told(narration, profile, destinationIni.has_value(), 0);
  const SystemCheckContext check{rfc.Session(), output, options.words.logon, at, TellsSapRfcIni(options),
                                 [&](CheckStep now, const SystemOutcome& sofar) {
                                   step = now;
                                   told.Begin(now, sofar);
                                 }};
  const SystemOutcome outcome = CheckSystem(check, profile, destinationIni);
  told.End(outcome);
  const bool detail = options.words.detail;
  const std::optional<RunFailure> failure = SingleRunFailure(
      outcome, profile.Destination, TakesTraceText(outcome, detail) ? TraceFileScan() : std::string(), detail);
  deadline.TakeEnding();
  if (failure) return {failure};

  ResultDocument document(options.outputMode);
  document.FollowOptions(options.words.channel, options.words.limits);
  WriteMissingObjectsDocument(document, profile.Destination, outcome.dictionary);
  output.Write(document.Text());
  // The trace is the one account of what happened: it stays unless the
  // monitor has the document.
  if (!output.Delivered()) return {};
  DeleteRegularFile(kTraceFileName);
  if (options.consoleTrace) output.Write(NowProcessedLine(LocalTimeOfDay()));
  return {};
}

}  // namespace tavorine
