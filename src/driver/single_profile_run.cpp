#include <atomic>
#include <variant>

#include "checks/cpu_read.h"
#include "checks/missing_objects_check.h"
#include "checks/system_info_check.h"
#include "config/profile_report.h"
#include "driver/progress_lines.h"
#include "driver/rfc_run.h"
#include "driver/road.h"
#include "driver/run_deadline.h"
#include "output/messages.h"
#include "platform/delete_file.h"
#include "platform/local_time.h"
#include "rfc/logon.h"
#include "rfc/sap_rfc_ini.h"
#include "rfc/trace_file_scan.h"

namespace tavorine {

namespace {

// A failed check's error text, followed by what the trace file tells.
RunFailure FailedCheck(const CallState& state) { return {state.errorText + TraceFileScan()}; }

// The outcome of one call, for the narration.
void TellCall(const Narration& narration, std::string_view function, const CallState& state) {
  narration.Say(std::string(function) + ": " +
                (state.callStatus == CallStatus::OK ? std::string("answered") : "failed, " + state.errorText));
}

// The step the run is in, for the message of a deadline that comes while the
// library does not answer.
using Step = std::atomic<const char*>;

// The checks, in their order, on an open connection.
std::optional<RunFailure> RunChecks(RfcSession& session, RFC_HANDLE handle, const ProfileData& profile,
                                    ResultDocument& document, const Narration& narration, Step& step) {
  CallState state;
  step = "GET_CPU_ALL";
  CpuRead(session, handle, state);
  TellCall(narration, "GET_CPU_ALL", state);
  if (state.callStatus != CallStatus::OK) return FailedCheck(state);

  state.callStatus = CallStatus::ERR;
  SystemInfo info;
  step = "RFC_SYSTEM_INFO";
  SystemInfoCheck(session, handle, state, info);
  TellCall(narration, "RFC_SYSTEM_INFO", state);
  if (state.callStatus != CallStatus::OK) return FailedCheck(state);
  narration.Say("database system \"" + info.DatabaseSystem + "\": " + (IsDb4(info.DatabaseSystem) ? "DB4" : "not DB4"), 1);
  if (!IsDb4(info.DatabaseSystem)) return messages::DatabaseMismatch();

  state.callStatus = CallStatus::ERR;
  step = "DB02_DB4_GET_INFO";
  MissingObjectsCheck(session, handle, state, &document, profile.Destination);
  TellCall(narration, "DB02_DB4_GET_INFO", state);
  if (state.callStatus != CallStatus::OK) return FailedCheck(state);
  return std::nullopt;
}

void TellLogon(const Narration& narration, const ProfileData& profile, const LogonResult& result) {
  if (!narration.Told()) return;
  if (result.road == LogonRoad::SapRfcIni) {
    narration.Say("Logon through SapRfc.ini, copied from SapRfc." + profile.Destination +
                  " in the working directory: the library takes the connection data of " + profile.Destination +
                  " from it");
  } else {
    narration.Say("Logon with RfcOpen: host " + profile.Hostname + ", system number " + profile.Sysnr + ", client " +
                  profile.Client + ", user " + profile.User + ", language " + profile.Language);
  }
  if (result.handle != 0) return narration.Say("connected", 1);
  // The scan's text begins with " - ", the separator it has in the document.
  narration.Say("no connection; the library's trace Dev_Rfc.Trc ends with: " + TraceFileScan().substr(3), 1);
}

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

  Step step{"logon"};
  const std::optional<int> seconds = options.limits.timeoutSeconds;
  RunDeadline deadline(context, seconds, ExitStatus::Failed, [&] {
    ResultDocument envelope(options.outputMode);
    envelope.DocError(messages::NoAnswer(seconds.value_or(0), profile.Destination, step.load()).message);
    output.Write(envelope.Text());
  });
  auto started = RfcRun::Start(options, output, narration, DeadlineOf(context, options.limits));
  if (const auto* failure = std::get_if<RunFailure>(&started)) return {*failure};
  RfcRun& rfc = *std::get<std::unique_ptr<RfcRun>>(started);
  rfc.Log().Write(0, "program started", options.programPath);
  rfc.Report().InstallEnvironment();
  rfc.Log().Write(0, "RfcEnvironment called", "");

  ResultDocument document(options.outputMode);
  document.FollowOptions(options.optionsText, options.optionsAsGiven);
  if (options.consoleTrace) output.Write(ProgressLines(options, profile, LocalTimeOfDay()));

  LogonRecords records;
  const LogonContext logon{rfc.Library(), rfc.Log(), output, options.optionsText, options.optionsAsGiven,
                           DeadlineOf(context, options.limits)};
  const LogonResult loggedOn = Logon(logon, profile, ReadDestinationIni(profile.Destination), records);
  if (loggedOn.deadlineCame) deadline.AwaitEnding();
  TellLogon(narration, profile, loggedOn);
  if (loggedOn.failure) return {loggedOn.failure};
  if (loggedOn.handle == 0) return {messages::LogonFailed(profile.Destination)};
  {
    const RfcConnection connection(rfc.Library(), loggedOn.handle);
    if (auto failure = RunChecks(rfc.Session(), connection.Handle(), profile, document, narration, step)) {
      return {std::move(failure)};
    }
  }

  deadline.TakeEnding();
  output.Write(document.Text());
  // The trace is the one account of what happened: it stays unless the
  // monitor has the document.
  if (!output.Delivered()) return {};
  DeleteRegularFile(kTraceFileName);
  if (options.consoleTrace) output.Write("\n* " + LocalTimeOfDay() + " SAP " + kProgramName + " now processed...\n");
  return {};
}

}  // namespace tavorine
