#include <algorithm>
#include <variant>

#include "config/listing_file.h"
#include "driver/listed_system.h"
#include "driver/listing_progress.h"
#include "driver/parallel_checks.h"
#include "driver/rfc_run.h"
#include "driver/road.h"
#include "driver/run_deadline.h"
#include "output/messages.h"
#include "output/result_document.h"
#include "platform/ascii_case.h"
#include "platform/private_folder.h"
#include "rfc/sap_rfc_ini.h"

namespace tavorine {

namespace {

std::variant<Listing, ListingFault> ReadListing(const RunOptions& options, InputFile& file) {
  if (options.profileName == kGlobalListingName) return ReadGlobalListing(file, options.optionsText);
  return ReadSharedProfile(file, options.itemText);
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

// ",PAR=1": the systems one after the other, in this process.
RunEnd CheckInProcess(const RunOptions& options, const std::vector<std::string>& entries, RfcRun& rfc,
                      ListingProgress& progress, const RunContext& context) {
  RunDeadline deadline(context, options.limits.timeoutSeconds, ExitStatus::Finished,
                       [&progress, &entries] { progress.FinishAtDeadline(entries); });
  LogonRecords records;
  for (const std::string& entry : entries) {
    const PreparedSystem system = PrepareSystem(options, entry);
    std::optional<SystemResult> result;
    if (!system.skipped) {
      rfc.Report().InstallEnvironment();
      result = CheckPreparedSystem(system, ReadDestinationIni(system.profile.Destination), options, rfc, records,
                                   context.output, DeadlineOf(context, options.limits));
      if (result->deadlineCame) deadline.AwaitEnding();
    }
    if (auto failure = progress.Take(system, result ? &*result : nullptr)) return {std::move(failure), true};
  }
  deadline.TakeEnding();
  progress.WriteSummary();
  return {};
}

}  // namespace

RunEnd RunListing(RunOptions options, InputFile& listingFile, const RunContext& context) {
  if (listingFile.TooLarge()) return {messages::FileTooLarge(options.profileName)};
  auto read = ReadListing(options, listingFile);
  if (const auto* fault = std::get_if<ListingFault>(&read)) return {ListingFaultMessage(*fault, options.firstOption)};
  Listing& listing = std::get<Listing>(read);
  if (listing.sensorOptions) options.optionsAsGiven = *listing.sensorOptions;
  options.itemText = listing.itemText;
  options.optionsText = AsciiUpperCase(options.optionsAsGiven);
  auto limits = ReadRunLimits(options.optionsText, options.optionsAsGiven);
  if (const auto* failure = std::get_if<RunFailure>(&limits)) return {*failure};
  options.limits = std::get<RunLimits>(limits);

  const std::vector<std::string> entries = Entries(listing.serverListing);
  context.narration.Say("The listing names " + std::to_string(entries.size()) +
                        " systems; the options of the run: " + options.optionsAsGiven);
  auto started = RfcRun::Start(options, context.output, context.narration, DeadlineOf(context, options.limits));
  if (const auto* failure = std::get_if<RunFailure>(&started)) return {*failure};
  RfcRun& rfc = *std::get<std::unique_ptr<RfcRun>>(started);

  if (options.consoleTrace) context.output.Write(StartLines(options));
  ResultDocument document(options.outputMode);
  document.DocOpen();
  context.output.Write(document.Text() + "\n");

  ListingProgress progress(options, context);
  // The folders of group runs that the monitor killed: no one else ever removes them.
  RemoveStalePrivateFolders();
  if (options.limits.parallelChecks == 1) return CheckInProcess(options, entries, rfc, progress, context);
  return CheckInWorkers(options, entries, rfc.Log(), progress, context);
}

}  // namespace tavorine
