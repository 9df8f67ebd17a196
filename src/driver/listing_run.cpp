#include <algorithm>
#include <variant>

#include "checks/cpu_read.h"
#include "checks/missing_objects_check.h"
#include "checks/system_info_check.h"
#include "config/listing_file.h"
#include "config/profile_reader.h"
#include "driver/rfc_run.h"
#include "driver/road.h"
#include "output/messages.h"
#include "output/result_document.h"
#include "platform/ascii_case.h"
#include "platform/local_time.h"
#include "rfc/logon.h"
#include "rfc/sap_rfc_ini.h"
#include "rfc/trace_file_scan.h"

namespace tavorine {

namespace {

constexpr std::string_view kGlobalListingName = "SAP Kestrion.Gbl";

struct Counters {
  unsigned SystemCount = 0;
  unsigned ProcessedCount = 0;
  unsigned FailedCount = 0;
};

// What checking one listed system gave.
struct SystemResult {
  bool skipped = true;  // its profile does not open: it counts in NoSystems only
  std::string consoleLine;
  bool systemFault = false;
  CallStatus callStatus = CallStatus::ERR;
  std::string errorText;  // the failed checks' texts
  // A failure that ends the whole run: a failed CPU read or system
  // information call (its text then still wants the trace's), or a database
  // that is not DB4.
  enum class Ending { None, FailedCheck, DatabaseMismatch } ending = Ending::None;
};

// Everything a listing run keeps from one system to the next.
struct ListingState {
  Counters counters;
  std::string errorText;  // a failed missing-objects check's text, until the next system
};

std::variant<Listing, ListingFault> ReadListing(const RunOptions& options, InputFile& file) {
  if (options.profileName == kGlobalListingName) return ReadGlobalListing(file, options.optionsText);
  return ReadSharedProfile(file, options.itemText);
}

// The checks of one system on its connection; the result's ending tells
// whether the run goes on.
void CheckConnectedSystem(RfcSession& session, RFC_HANDLE handle, SystemResult& result) {
  CallState state;
  CpuRead(session, handle, state);
  result.callStatus = state.callStatus;
  result.errorText = state.errorText;
  if (state.callStatus != CallStatus::OK) {
    result.ending = SystemResult::Ending::FailedCheck;
    return;
  }
  state.callStatus = CallStatus::ERR;
  SystemInfo info;
  SystemInfoCheck(session, handle, state, info);
  result.callStatus = state.callStatus;
  result.errorText = state.errorText;
  if (state.callStatus != CallStatus::OK) {
    result.ending = SystemResult::Ending::FailedCheck;
    return;
  }
  if (!IsDb4(info.DatabaseSystem)) {
    result.ending = SystemResult::Ending::DatabaseMismatch;
    return;
  }
  state.callStatus = CallStatus::ERR;
  MissingObjectsCheck(session, handle, state, nullptr, "");
  result.callStatus = state.callStatus;
  result.errorText = state.errorText;
}

// One listed system, from its profile to the end of its checks.
SystemResult CheckSystem(const RunOptions& options, const std::string& entry, RfcRun& rfc, LogonRecords& records,
                         OutputSink& output) {
  SystemResult result;
  if (!StaysInSensorFolder(entry)) return result;
  std::optional<InputFile> file = InputFile::Open(options.profileDir + entry);
  if (!file) return result;
  result.skipped = false;
  ProfileReading reading;
  if (file->TooLarge()) {
    reading.fault = ProfileFault::InvalidParameters;
  } else {
    reading = ReadProfile(*file, kListingPieceLength, PasswordFaultHandling::ReadOn);
  }
  result.systemFault = reading.fault.has_value();
  const ProfileData& profile = reading.data;
  result.consoleLine = "* " + LocalTimeOfDay() + " " + entry + ", " + profile.DisplayHost + ", " +
                       profile.Destination + ", " + profile.Sysnr + ", " + profile.Client;

  rfc.Report().InstallEnvironment();
  const LogonContext logon{rfc.Library(), rfc.Log(), output, options.optionsText, options.optionsAsGiven};
  const LogonResult loggedOn = Logon(logon, profile, ReadDestinationIni(profile.Destination), records);
  if (loggedOn.handle == 0) {
    result.systemFault = true;
    return result;
  }
  const RfcConnection connection(rfc.Library(), loggedOn.handle);
  CheckConnectedSystem(rfc.Session(), connection.Handle(), result);
  return result;
}

// Takes a system's result into the run: its counters and state line, or the
// failure that ends the run.
std::optional<RunFailure> TakeResult(const RunOptions& options, const std::string& entry, const SystemResult& result,
                                     ListingState& state, const RunContext& context) {
  ++state.counters.SystemCount;
  if (result.skipped) {
    context.narration.Say("System " + entry + ": skipped, " +
                          (StaysInSensorFolder(entry) ? "no profile of that name opens" : "it names a file outside the sensor folder"));
    return std::nullopt;
  }
  if (result.ending == SystemResult::Ending::FailedCheck) return RunFailure{result.errorText + TraceFileScan()};
  if (result.ending == SystemResult::Ending::DatabaseMismatch) return messages::DatabaseMismatch();
  state.errorText = result.errorText;
  const bool processed = !result.systemFault && result.callStatus == CallStatus::OK;
  ++(processed ? state.counters.ProcessedCount : state.counters.FailedCount);
  const std::string systemState = processed ? "Processed" : "Rfc Failure";
  if (options.consoleTrace) context.output.Write("\n" + result.consoleLine + " State=" + systemState + "\n");
  context.narration.Say("System " + entry + ": " + systemState + (result.errorText.empty() ? "" : ", " + result.errorText));
  return std::nullopt;
}

// The line shows the options up to " @" only; the run itself keeps them whole,
// since the logon reads its ",HOST=" and ",NO=" values wherever they stand.
std::string StartLines(const RunOptions& options) {
  std::string shown = options.optionsAsGiven;
  std::replace(shown.begin(), shown.end(), ':', ' ');
  shown.resize(std::min(shown.size(), shown.find(" @")));
  const std::string startTime = options.startBanner.substr(2, 8);
  return options.startBanner + "\n* " + startTime + " " + shown + " State=Executing\n";
}

std::string Summary(const std::string& item, const Counters& counters) {
  return "(***) " + item + ": NoSystems=" + std::to_string(counters.SystemCount) +
         ", Processed=" + std::to_string(counters.ProcessedCount) + ", Failed=" + std::to_string(counters.FailedCount);
}

// The entries of the server listing: the texts between the "#", the last one
// also when no "#" ends it.
std::vector<std::string> Entries(std::string_view listing) {
  std::vector<std::string> entries;
  while (!listing.empty()) {
    const std::size_t end = listing.find('#');
    entries.emplace_back(listing.substr(0, end));
    listing.remove_prefix(end == std::string_view::npos ? listing.size() : end + 1);
  }
  return entries;
}

}  // namespace

RunEnd RunListing(RunOptions options, InputFile& listingFile, const RunContext& context) {
  OutputSink& output = context.output;
  if (listingFile.TooLarge()) return {messages::FileTooLarge(options.profileName)};
  auto read = ReadListing(options, listingFile);
  if (const auto* fault = std::get_if<ListingFault>(&read)) return {ListingFaultMessage(*fault, options.firstOption)};
  Listing& listing = std::get<Listing>(read);
  if (listing.sensorOptions) options.optionsAsGiven = *listing.sensorOptions;
  options.itemText = listing.itemText;
  options.optionsText = AsciiUpperCase(options.optionsAsGiven);

  const std::vector<std::string> entries = Entries(listing.serverListing);
  context.narration.Say("The listing names " + std::to_string(entries.size()) +
                        " systems; the options of the run: " + options.optionsAsGiven);
  auto started = RfcRun::Start(options, output, context.narration);
  if (const auto* failure = std::get_if<RunFailure>(&started)) return {*failure};
  RfcRun& rfc = *std::get<std::unique_ptr<RfcRun>>(started);

  if (options.consoleTrace) output.Write(StartLines(options));
  ResultDocument document(options.outputMode);
  document.FollowOptions(options.optionsText, options.optionsAsGiven);
  document.DocOpen();
  output.Write(document.Text() + "\n");

  ListingState state;
  LogonRecords records;
  for (const std::string& entry : entries) {
    const SystemResult result = CheckSystem(options, entry, rfc, records, output);
    if (auto failure = TakeResult(options, entry, result, state, context)) return {std::move(failure), true};
  }

  document.Clear();
  document.AppendText(state.errorText);
  document.DocTextOpen();
  document.AppendText(Summary(options.itemText, state.counters));
  document.DocTextClose();
  if (document.WritesLimits()) {
    document.DocCountChannel("Systems", std::to_string(state.counters.SystemCount), false);
    document.DocCountChannel("Processed", std::to_string(state.counters.ProcessedCount), false);
    document.DocCountChannel("Failed", std::to_string(state.counters.FailedCount), true);
  }
  document.DocClose();
  output.Write(document.Text() + "\n");
  if (options.consoleTrace) output.Write("\n* " + LocalTimeOfDay() + " SAP " + kProgramName + " now processed...\n");
  return {};
}

}  // namespace tavorine
