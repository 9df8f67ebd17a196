#include <algorithm>
#include <variant>

#include "checks/cpu_read.h"
#include "checks/missing_objects_check.h"
#include "checks/system_info_check.h"
#include "config/listing_file.h"
#include "config/profile_reader.h"
#include "driver/road.h"
#include "driver/startup.h"
#include "platform/console.h"
#include "platform/local_time.h"
#include "platform/text_file.h"
#include "rfc/error_report.h"
#include "rfc/logon.h"
#include "rfc/trace_file_scan.h"

namespace tavorine {

namespace {

constexpr std::string_view kGlobalListingName = "SAP Kestrion.Gbl";

struct Counters {
  unsigned SystemCount = 0;
  unsigned ProcessedCount = 0;
  unsigned FailedCount = 0;
};

// Everything a listing run keeps from one system to the next.
struct ListingRun {
  RunOptions& options;
  const RfcLibrary& library;
  RunLog& runLog;
  RfcSession& session;
  LogonRecords records;
  Counters counters;
  std::string errorText;  // a failed missing-objects check's text, until the next system
};

std::variant<Listing, RunFailure> ReadListing(const RunOptions& options) {
  const bool global = options.profileName == kGlobalListingName;
  const auto text = ReadTextFile(options.profilePath);
  if (!text) return global ? GlobalListingMissing() : SharedProfileMissing();
  return global ? ReadGlobalListing(*text, options.optionsText, options.firstOption)
                : ReadSharedProfile(*text, options.itemText);
}

// Ends the whole run after a check that no system may fail. The document's
// head is out already, so the error goes on inside it.
int EndRun(ListingRun& run, RFC_HANDLE handle, std::string_view message) {
  ResultDocument document(run.options.outputMode);
  document.DocErrorAfterHead(message);
  Print(document.Text());
  run.library.RfcClose(handle);
  return kExitFailed;
}

// The checks of one system. Returns an exit status when the whole run has to
// end, nothing when the run goes on; sets state and whether the system's
// dictionary could be read.
std::optional<int> CheckSystem(ListingRun& run, RFC_HANDLE handle, CallState& state, bool& sensorFound) {
  CpuRead(run.session, handle, state);
  if (state.CallStatus != "OK") return EndRun(run, handle, state.errorText + TraceFileScan());
  state.CallStatus = "ERR";
  SystemInfo info;
  SystemInfoCheck(run.session, handle, state, info);
  if (state.CallStatus != "OK") return EndRun(run, handle, state.errorText + TraceFileScan());
  if (!IsDb4(info.DatabaseSystem)) return EndRun(run, handle, "Error 1018: DataBase mismatch !");
  state.CallStatus = "ERR";
  MissingObjectsCheck(run.session, handle, state, nullptr, "");
  sensorFound = state.CallStatus == "OK";
  return std::nullopt;
}

// One listed system, from its profile to its state line. Returns an exit
// status when the whole run has to end.
std::optional<int> RunSystem(ListingRun& run, const std::string& entry) {
  ++run.counters.SystemCount;
  const auto profileText = ReadTextFile(run.options.profileDir + entry);
  if (!profileText) return std::nullopt;
  const ProfileReading reading = ReadProfile(*profileText, kListingPieceLength, entry, PasswordFaultHandling::ReadOn);
  bool systemFault = reading.fault.has_value();
  const ProfileData& profile = reading.data;
  const std::string consoleLine = "* " + LocalTimeOfDay() + " " + entry + ", " + profile.DisplayHost + ", " +
                                  profile.Destination + ", " + profile.Sysnr + ", " + profile.Client;

  InstallRfcErrorReport(run.library);
  run.errorText.clear();
  CallState state;
  bool sensorFound = false;
  const RFC_HANDLE handle =
      Logon(run.library, profile, run.options.optionsText, run.options.optionsAsGiven, run.records, run.runLog);
  if (handle == 0) {
    systemFault = true;
  } else {
    if (auto ended = CheckSystem(run, handle, state, sensorFound)) return ended;
    run.library.RfcClose(handle);
    run.errorText = state.errorText;
  }

  const bool processed = !systemFault && state.CallStatus == "OK" && sensorFound;
  ++(processed ? run.counters.ProcessedCount : run.counters.FailedCount);
  const char* systemState = processed ? "Processed" : (!systemFault && state.CallStatus == "OK") ? "Not Found" : "Rfc Failure";
  if (run.options.consoleTrace) Print("\n" + consoleLine + " State=" + systemState + "\n");
  return std::nullopt;
}

// The line shows the options up to " @" only; the run itself keeps them whole,
// since the logon reads its ",HOST=" and ",NO=" values wherever they stand.
void PrintStartLines(const RunOptions& options) {
  if (!options.consoleTrace) return;
  std::string shown = options.optionsAsGiven;
  std::replace(shown.begin(), shown.end(), ':', ' ');
  shown.resize(std::min(shown.size(), shown.find(" @")));
  const std::string startTime = options.startBanner.substr(2, 8);
  Print(options.startBanner + "\n* " + startTime + " " + shown + " State=Executing\n");
}

std::string Summary(const std::string& item, const Counters& counters) {
  return "(***) " + item + ": NoSystems=" + std::to_string(counters.SystemCount) +
         ", Processed=" + std::to_string(counters.ProcessedCount) + ", Failed=" + std::to_string(counters.FailedCount);
}

}  // namespace

int RunListing(RunOptions options) {
  auto read = ReadListing(options);
  if (const auto* failure = std::get_if<RunFailure>(&read)) return PrintFailure(*failure);
  Listing& listing = std::get<Listing>(read);
  if (listing.sensorOptions) options.optionsAsGiven = *listing.sensorOptions;
  options.itemText = listing.itemText;
  options.optionsText = UpperCased(options.optionsAsGiven);

  auto loaded = LoadRfcLibrary();
  if (const auto* failure = std::get_if<RunFailure>(&loaded)) return PrintFailure(*failure);
  const RfcLibrary& library = std::get<RfcLibrary>(loaded);
  RunLog runLog;
  runLog.FollowOptions(options.optionsText);
  RfcSession session(library, runLog);

  PrintStartLines(options);
  ResultDocument document(options.outputMode);
  document.SelectChannels(options.optionsText, options.optionsAsGiven);
  document.DocOpen();
  Print(document.Text() + "\n");

  ListingRun run{options, library, runLog, session, {}, {}, {}};
  std::string_view remaining = listing.serverListing;
  while (!remaining.empty()) {
    const std::size_t end = remaining.find('#');
    const std::string entry(remaining.substr(0, end));
    remaining.remove_prefix(end == std::string_view::npos ? remaining.size() : end + 1);
    if (auto ended = RunSystem(run, entry)) return *ended;
  }

  document.Clear();
  document.AppendText(run.errorText);
  document.DocTextOpen();
  document.AppendText(Summary(options.itemText, run.counters));
  document.DocTextClose();
  document.DocClose();
  Print(document.Text() + "\n");
  if (options.consoleTrace) Print("\n* " + LocalTimeOfDay() + " SAP " + kProgramName + " now processed...\n");
  return kExitFinished;
}

}  // namespace tavorine
