#include "config/listing_file.h"

#include <algorithm>
#include <array>
#include <utility>

#include "config/profile_reader.h"
#include "platform/text_file.h"

namespace tavorine {

namespace {

constexpr std::size_t kSensorNameLength = 10;
constexpr std::size_t kSettingsColumn = 20;
constexpr std::size_t kListingColumn = 21;
constexpr std::size_t kItemMaxLength = 90;
constexpr std::string_view kSensorAssignment = "Sensor=\"SAP Tavorine\"";
constexpr std::string_view kItemMarker = "Item=";
constexpr std::string_view kSharedListingMarker = "# Gsng: ";

// Only ASCII letters change, whatever the locale, as on the monitor's machines.
std::string AsciiUpper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

// The line's text from a column (counted from 1) on; nothing for a shorter line.
std::string_view FromColumn(std::string_view line, std::size_t column) {
  return line.size() < column ? std::string_view() : line.substr(column - 1);
}

std::string ColonsToBlanks(std::string_view text) {
  std::string converted(text);
  std::replace(converted.begin(), converted.end(), ':', ' ');
  return converted;
}

// The first word of the options, upper-cased and brought to exactly 10
// characters: a shorter name is padded, so that it matches only itself.
std::string SensorName(std::string_view optionsText) {
  std::string name = AsciiUpper(optionsText.substr(0, optionsText.find(' ')));
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

// Tested in a fixed order, so the last one that the line holds wins.
void SelectSystemNameKey(std::string_view line, SystemNameKey& key) {
  constexpr std::array<std::pair<std::string_view, SystemNameKey>, 4> kMarkers = {{
      {",Profile", SystemNameKey::Profile},
      {",Alias", SystemNameKey::Alias},
      {",Host", SystemNameKey::Host},
      {",Sid", SystemNameKey::Sid},
  }};
  for (const auto& [marker, selected] : kMarkers) {
    if (line.find(marker) != std::string_view::npos) key = selected;
  }
}

std::variant<Listing, RunFailure> Checked(Listing listing) {
  if (listing.serverListing.empty()) return RunFailure{"Error 1025: Global Server Listing missing..."};
  if (listing.itemText.empty()) return RunFailure{"Error 1026: Global Item Idenification missing..."};
  return listing;
}

class GlobalListingReader {
 public:
  explicit GlobalListingReader(std::string_view optionsText)
      : listingKey_("# GSNG: " + SensorName(optionsText)), settingsKey_("# GSNX: " + SensorName(optionsText)) {}

  // False when the line is a settings line that does not assign the sensor
  // to this program.
  bool Take(std::string_view line) {
    const std::string head = AsciiUpper(line.substr(0, listingKey_.size()));
    if (head == listingKey_) listing_.serverListing += FromColumn(line, kListingColumn);
    if (head != settingsKey_) return true;
    settings_ = FromColumn(line, kSettingsColumn);
    if (settings_.find(kSensorAssignment) == std::string::npos) return false;
    listing_.sensorOptions = ColonsToBlanks(CutAt(settings_, ",Sensor="));
    SelectSystemNameKey(line, listing_.systemNameKey);
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
  std::string settings_;
  Listing listing_;
};

}  // namespace

std::variant<Listing, RunFailure> ReadGlobalListing(std::string_view fileText, std::string_view optionsText,
                                                    std::string_view firstOptionAsTyped) {
  GlobalListingReader reader(optionsText);
  PieceReader pieces(fileText, kListingPieceLength);
  std::string line;
  while (pieces.Next(line)) {
    if (!reader.Take(line)) return RunFailure{"Error 1029: Invalid Sensor-Allocation..."};
  }
  if (!reader.SensorFound()) {
    return RunFailure{"Error 1030: Global Sensor " + std::string(firstOptionAsTyped) + " not found..."};
  }
  return Checked(reader.Finish());
}

std::variant<Listing, RunFailure> ReadSharedProfile(std::string_view fileText, std::string_view itemText) {
  Listing listing;
  PieceReader pieces(fileText, kListingPieceLength);
  std::string line;
  while (pieces.Next(line)) {
    if (line.starts_with(kSharedListingMarker)) listing.serverListing += FromColumn(line, kListingColumn);
  }
  listing.itemText = itemText;
  return Checked(std::move(listing));
}

RunFailure SharedProfileMissing() { return {"Error 1024: ProFile Kestrion.Prf is missing..."}; }

RunFailure GlobalListingMissing() { return {"Error 10x1: ProFile SAP Kestrion.Gbl is missing..."}; }

}  // namespace tavorine
