#include "driver/group_run/listing_run.h"

#include <variant>

#include "config/listing_file.h"
#include "driver/group_run/group_checks.h"
#include "driver/group_run/listing_progress.h"
#include "driver/run/rfc_run.h"
#include "driver/run/road.h"
#include "output/messages.h"
#include "output/result_document.h"
#include "platform/process/private_folder.h"

namespace tavorine {

namespace {

// Reads the listing file; a diagnosis tells the settings lines that a GLOBAL run read.
std::variant<Listing, ListingFault> ReadListing(const RunOptions& options, InputFile& file,
                                                const Narration& narration) {
  if (options.profileName != kGlobalListingName) return ReadSharedProfile(file, options.itemText);
  std::string lines;
  auto read = ReadGlobalListing(file, options.optionsAsGiven, [&lines](std::string_view line, bool ofThisSensor) {
    lines += "\n  \"" + std::string(line) + "\"" + (ofThisSensor ? ": this sensor's" : "");
  });
  narration.Say("Settings lines in " + std::string(kGlobalListingName) + ":" + (lines.empty() ? " none" : lines));
  if (std::get_if<ListingFault>(&read) == nullptr || std::get<ListingFault>(read) != ListingFault::SensorNotFound) {
    return read;
  }
  narration.Say("None is this sensor's: its line begins \"" + SettingsKey(options.optionsAsGiven) +
                "\", the sensor's name from the parameters padded with blanks to 10 characters, in any letter case.");
  return read;
}

// The line shows the options up to " @" only; the run itself keeps them whole,
// since the logon reads its ",HOST=" and ",NO=" values wherever they stand.
std::string StartLines(const RunOptions& options, const StartTime& started) {
  return StartBanner(started) + "\n* " + LocalTimeOfDay(started.Wall()) + " " + GroupStartOptions(options.optionsAsGiven) +
         " State=Executing\n";
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
  if (listingFile.TooLarge()) return {messages::FileTooLarge(options.profileName)};
  auto read = ReadListing(options, listingFile, context.narration);
  if (const auto* fault = std::get_if<ListingFault>(&read)) return {ListingFaultMessage(*fault, options.firstOption)};
  Listing& listing = std::get<Listing>(read);
  options.itemText = listing.itemText;
  if (listing.sensorOptions) {
    // A GLOBAL run's option words are those of its settings line.
    options.optionsAsGiven = *listing.sensorOptions;
    auto words = ReadOptionWords(options.optionsAsGiven);
    if (const auto* failure = std::get_if<RunFailure>(&words)) return {*failure};
    options.words = std::get<OptionWords>(words);
  }

  const std::vector<std::string> entries = Entries(listing.serverListing);
  context.narration.Say("The listing names " + std::to_string(entries.size()) + " systems.");
  if (listing.sensorOptions) context.narration.Say("The settings line's " + TellOptions(options.optionsAsGiven));
  const Deadline at = DeadlineOf(context, options.words);
  GroupRunLog runLog(at, options.words.runLog);
  auto started = RfcRun::Start(options, context,
                               [&runLog](std::int32_t number, std::string_view text, std::string_view detail) {
                                 runLog.Write(number, text, detail);
                               });
  if (const auto* failure = std::get_if<RunFailure>(&started)) return {*failure};
  RfcRun& rfc = *std::get<std::unique_ptr<RfcRun>>(started);

  if (options.consoleTrace) context.output.Write(StartLines(options, context.started));
  ResultDocument document(options.outputMode);
  document.DocOpen();
  context.output.Write(document.Text() + "\n");

  // The folders of group runs that the monitor killed: no one else ever removes them.
  RemoveStalePrivateFolders();
  ListingProgress progress(options, context);
  return CheckGroup(options, entries, rfc, runLog, progress, context);
}

}  // namespace tavorine
