#include <atomic>
#include <variant>

#include "checks/system_check.h"
#include "config/profile_report.h"
#include "driver/progress_lines.h"
#include "driver/rfc_run.h"
#include "driver/road.h"
#include "driver/run_deadline.h"
#include "output/check_report.h"
#include "output/messages.h"
#include "platform/delete_file.h"
#include "platform/local_time.h"
#include "rfc/sap_rfc_ini.h"
#include "rfc/trace_file_scan.h"

namespace tavorine {

namespace {

// What the diagnosis tells of the logon and the calls, once each has answered.
void TellOutcome(const Narration& narration, const ProfileData& profile, const SystemOutcome& outcome) {
  if (!narration.Told()) return;
  if (outcome.throughSapRfcIni) {
    narration.Say("Logon through SapRfc.ini, copied from SapRfc." + profile.Destination +
                  " in the working directory: the library takes the connection data of " + profile.Destination +
                  " from it");
  } else {
    narration.Say("Logon with RfcOpen: host " + profile.Hostname + ", system number " + profile.Sysnr + ", client " +
                  profile.Client + ", user " + profile.User + ", language " + profile.Language);
  }
  if (outcome.failedAt == CheckStep::Logon) {
    // The scan's text begins with " - ", the separator it has in the document.
    return narration.Say("no connection; the library's trace Dev_Rfc.Trc ends with: " + TraceFileScan().substr(3), 1);
  }
  narration.Say("connected", 1);
  for (const CheckStep call : {CheckStep::CpuRead, CheckStep::SystemInfo, CheckStep::MissingObjects}) {
    if (outcome.failedAt == call) return narration.Say(std::string(StepName(call)) + ": failed, " + CallErrorText(outcome));
    narration.Say(std::string(StepName(call)) + ": answered");
    if (call == CheckStep::SystemInfo) {
      narration.Say("database system \"" + outcome.databaseSystem + "\": " +
                        (IsDb4(outcome.databaseSystem) ? "DB4" : "not DB4"),
                    1);
      if (outcome.failedAt == CheckStep::DatabaseTest) return;
    }
  }
}

// The step the run is in, for the message of a deadline that comes while the
// library does not answer.
using Step = std::atomic<CheckStep>;

}  // namespace

RunEnd RunSingleProfile(const RunOptions& options, InputFile& profileFile, const RunContext& context) {
  OutputSink& output = context.output;
  const Narration& narration = context.narration;
  const ProfileReading reading =
      ReadProfile(profileFile, kSingleProfilePieceLength, PasswordFaultHandling::StopReading);
  narration.Say("The profile's values:");
  narration.Say(ProfileReport(reading), 1);
  if (reading.fault) return {ProfileFaultMessage(*reading.fault, options.profileName)};
  const ProfileData& profile = reading.data;

  Step step{CheckStep::Logon};
  const Deadline at = DeadlineOf(context, options.words);
  RunDeadline deadline(output, at, [&] {
    output.ClaimEnding();
    const RunFailure noAnswer =
        messages::NoAnswer(options.words.timeoutSeconds.value_or(0), profile.Destination, StepName(step.load()));
    return EndRun({noAnswer}, options.outputMode, output);
  });
  auto started = RfcRun::Start(options, output, narration, at);
  if (const auto* failure = std::get_if<RunFailure>(&started)) return {*failure};
  RfcRun& rfc = *std::get<std::unique_ptr<RfcRun>>(started);
  rfc.Log().Write(0, "program started", options.programPath);
  rfc.Report().InstallEnvironment();
  rfc.Log().Write(0, "RfcEnvironment called", "");

  if (options.consoleTrace) output.Write(ProgressLines(options, profile, LocalTimeOfDay()));
  const SystemCheckContext check{rfc.Session(), output, options.words.logon, at, TellsSapRfcIni(options),
                                 [&step](CheckStep now) { step = now; }};
  const SystemOutcome outcome = CheckSystem(check, profile, ReadDestinationIni(profile.Destination));
  TellOutcome(narration, profile, outcome);
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
