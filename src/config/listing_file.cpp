#include "config/listing_file.h"

#include <algorithm>
#include <utility>

#include "config/profile_reader.h"
#include "output/messages.h"
#include "platform/text/ascii_case.h"
#include "platform/text/piece_reader.h"

namespace tavorine {

namespace {

constexpr std::size_t kSensorNameLength = 10;
constexpr std::size_t kSettingsColumn = 20;
constexpr std::size_t kListingColumn = 21;
constexpr std::size_t kItemMaxLength = 90;
constexpr std::string_view kSensorAssignment = "Sensor=\"SAP Tavorine\"";
constexpr std::string_view kItemMarker = "Item=";
constexpr std::string_view kSharedListingMarker = "# Gsng: ";

// The line's text from a column (counted from 1) on; nothing for a shorter line.
std::string_view FromColumn(std::string_view line, std::size_t column) {
  return line.size() < column ? std::string_view() : line.substr(column - 1);
}

std::string ColonsToBlanks(std::string_view text) {
  std::string converted(text);
  std::replace(converted.begin(), converted.end(), ':', ' ');
  return converted;
}

constexpr std::string_view kSettingsMarker = "# GSNX: ";

// The first word of the options, upper-cased and brought to exactly 10
// characters: a shorter name is padded, so that it matches only itself.
std::string SensorName(std::string_view optionsText) {
  std::string name = AsciiUpperCase(optionsText.substr(0, optionsText.find(' ')));
  name.resize(kSensorNameLength, ' ');
  return name;
}

std::string_view CutAt(std::string_view text, std::string_view marker) {
  return text.substr(0, text.find(marker));
}

std::string ItemFromSettings(std::string_view settings) {
  const std::size_t marker = settings.find(kItemMarker);
  if (marker == std::string_view::npos) return {};
  const std::string_view value = settings.substr(marker + kItemMarker.size());
  return ColonsToBlanks(value.substr(0, std::min(value.find_first_of(" ,"), kItemMaxLength)));
}

std::variant<Listing, ListingFault> Checked(Listing listing) {
  if (listing.serverListing.empty()) return ListingFault::NoServerListing;
  if (listing.itemText.empty()) return ListingFault::NoItem;
  return listing;
}

class GlobalListingReader {
 public:
  GlobalListingReader(std::string_view optionsText, const SettingsLineSeen& onSettingsLine)
      : listingKey_("# GSNG: " + SensorName(optionsText)),
        settingsKey_(SettingsKey(optionsText)),
        onSettingsLine_(onSettingsLine) {}

  // False when the line is a settings line that does not assign the sensor
  // to this program.
  bool Take(std::string_view line) {
    const std::string head = AsciiUpperCase(line.substr(0, listingKey_.size()));
    if (head == listingKey_) listing_.serverListing += FromColumn(line, kListingColumn);
    if (onSettingsLine_ && head.starts_with(kSettingsMarker)) onSettingsLine_(line, head == settingsKey_);
    if (head != settingsKey_) return true;
    settings_ = FromColumn(line, kSettingsColumn);
    if (settings_.find(kSensorAssignment) == std::string::npos) return false;
    listing_.sensorOptions = ColonsToBlanks(CutAt(settings_, ",Sensor="));
    return true;
  }

  bool SensorFound() const { return listing_.sensorOptions.has_value(); }

  Listing Finish() {
    listing_.itemText = ItemFromSettings(settings_);
    return std::move(listing_);
  }

 private:
  std::string listingKey_;
  std::string settingsKey_;
  const SettingsLineSeen& onSettingsLine_;
  std::string settings_;
  Listing listing_;
};

}  // namespace

RunFailure ListingFaultMessage(ListingFault fault, std::string_view sensorAsTyped) {
  switch (fault) {
    case ListingFault::SensorNotAllocated: return messages::SensorNotAllocated();
    case ListingFault::SensorNotFound: return messages::GlobalSensorNotFound(sensorAsTyped);
    case ListingFault::NoServerListing: return messages::NoServerListing();
    case ListingFault::NoItem: return messages::NoItem();
  }
  return messages::NoServerListing();
}

std::string SettingsKey(std::string_view optionsText) { return std::string(kSettingsMarker) + SensorName(optionsText); }

std::variant<Listing, ListingFault> ReadGlobalListing(ByteStream& file, std::string_view optionsText,
                                                      const SettingsLineSeen& onSettingsLine) {
  GlobalListingReader reader(optionsText, onSettingsLine);
  PieceReader pieces(file, kListingPieceLength);
  std::string line;
  while (pieces.Next(line)) {
    if (!reader.Take(line)) return ListingFault::SensorNotAllocated;
  }
  if (!reader.SensorFound()) return ListingFault::SensorNotFound;
  return Checked(reader.Finish());
}

std::variant<Listing, ListingFault> ReadSharedProfile(ByteStream& file, std::string_view itemText) {
  Listing listing;
  PieceReader pieces(file, kListingPieceLength);
  std::string line;
  while (pieces.Next(line)) {
    if (line.starts_with(kSharedListingMarker)) listing.serverListing += FromColumn(line, kListingColumn);
  }
  listing.itemText = itemText;
  return Checked(std::move(listing));
}

bool StaysInSensorFolder(std::string_view entry) {
  if (entry.find(':') != std::string_view::npos) return false;
  if (!entry.empty() && (entry.front() == '\\' || entry.front() == '/')) return false;
  std::size_t start = 0;
  while (start <= entry.size()) {
    const std::size_t end = std::min(entry.find_first_of("\\/", start), entry.size());
    const std::string_view name = entry.substr(start, end - start);
    // Windows drops a name's final blanks and dots, so ".. " or "..." may climb as ".." does.
    const bool onlyDotsAndBlanks = name.find_first_not_of(". ") == std::string_view::npos;
    if (onlyDotsAndBlanks && std::count(name.begin(), name.end(), '.') >= 2) return false;
    start = end + 1;
  }
  return true;
}

}  // namespace tavorine
