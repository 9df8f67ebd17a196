#include "config/listing_file.h"

#include <gtest/gtest.h>

#include <random>

namespace tavorine {
namespace {

const std::string kAssigned = "Sensor=\"SAP Tavorine\"";

// A line of the global file: marker, sensor name in columns 9 to 18, then the
// text from column 19 on.
std::string Line(std::string_view marker, std::string_view name, std::string_view from19) {
  std::string line(marker);
  line.append(name).resize(18, ' ');
  return line.append(from19).append("\n");
}
std::string Gsng(std::string_view name, std::string_view listing) {
  return Line("# GSNG: ", name, std::string("  ").append(listing));
}
std::string Gsnx(std::string_view name, std::string_view settings) {
  return Line("# GSNX: ", name, std::string(" ").append(settings));
}
std::string Settings(std::string_view name) { return Gsnx(name, "Item=I," + kAssigned); }
std::string SharedLine(std::string_view listing) {
  return std::string("# Gsng: ............").append(listing).append("\n");
}

using Read = std::pair<std::variant<Listing, ListingFault>, std::string>;  // and the sensor as typed

Read ReadGlobalListing(const std::string& text, std::string_view options, std::string_view sensorAsTyped) {
  TextStream stream(text);
  return {tavorine::ReadGlobalListing(stream, options), std::string(sensorAsTyped)};
}

Read ReadSharedProfile(const std::string& text, std::string_view item) {
  TextStream stream(text);
  return {tavorine::ReadSharedProfile(stream, item), ""};
}

std::string Outcome(const Read& read) {
  if (const auto* fault = std::get_if<ListingFault>(&read.first)) return ListingFaultMessage(*fault, read.second).message;
  return std::get<Listing>(read.first).serverListing;
}

struct ListingCase {
  std::string name;
  std::string file;
  std::string options;
  std::string expected;  // the server listing, or the message
};

TEST(GlobalListing, SelectsTheSensorsListingLines) {
  const std::vector<ListingCase> cases = {
      {"upper case", Gsng("SYS1", "A.P00#") + Settings("SYS1"), "SYS1 CH=2", "A.P00#"},
      {"lower case", "# gsng: sys1        a.p00#\n" + Gsnx("sys1", "Item=I," + kAssigned), "SYS1", "a.p00#"},
      {"mixed case markers", "# GsNg: Sys1        A#\n# gSnX: SYS1       Item=I," + kAssigned + "\n", "SYS1", "A#"},
      {"columns 19 and 20 not read", Line("# GSNG: ", "SYS1", "??A#") + Settings("SYS1"), "SYS1", "A#"},
      {"first 10 characters of the name", Gsng("LONGSENSOR", "A#") + Settings("LONGSENSOR"), "LONGSENSORXY", "A#"},
      {"line names agreeing in 10 characters",
       Line("# GSNG: ", "LONGSENSOR", "1 A#") + Line("# GSNX: ", "LONGSENSOR", "2Item=I," + kAssigned), "LONGSENSOR",
       "A#"},
      {"short name needs blanks", Gsng("SYS1", "B#") + Gsng("SYS", "A#") + Gsng("SY", "C#") + Settings("SYS"), "SYS",
       "A#"},
      {"other sensors and comments", "* comment\n\n" + Gsng("OTHER", "X#") + Gsnx("OTHER", "bad") + Gsng("SYS1", "A#") +
                                         Gsng("OTHER", "Y#") + Settings("SYS1"),
       "SYS1", "A#"},
      {"file order", Gsng("SYS1", "A#B#") + Settings("SYS1") + Gsng("SYS1", "C#"), "SYS1", "A#B#C#"},
      {"too short lines add nothing", "# GSNG: SYS1      xy\n# GSNG: SYS1\n" + Gsng("SYS1", "A#") + Settings("SYS1"),
       "SYS1", "A#"},
      {"empty options mean a blank name", Gsng("", "A#") + Settings(""), "", "A#"},
      {"CR LF", "# GSNG: SYS1        A#\r\n# GSNX: SYS1       Item=I," + kAssigned + "\r\n", "SYS1", "A#"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Outcome(ReadGlobalListing(c.file, c.options, "x")), c.expected);
  }
}

struct SettingsCase {
  std::string name;
  std::string file;
  std::string itemText;
  std::string sensorOptions;
};

TEST(GlobalListing, ReadsTheSettingsLine) {
  const std::string listing = Gsng("S", "A#");
  const std::string longOptions = "Ch=2,SysLog" + std::string(100, 'o');
  const std::vector<SettingsCase> cases = {
      {"item, options and host", Gsnx("S", "Item=X1:Y2,Z3," + kAssigned + ",Host"), "X1 Y2", "Item=X1 Y2,Z3"},
      {"item ends at a blank", Gsnx("S", "Item=Ab Cd," + kAssigned), "Ab", "Item=Ab Cd"},
      {"first item counts", Gsnx("S", "Item=A,Item=B," + kAssigned), "A", "Item=A,Item=B"},
      {"item after the assignment", Gsnx("S", "Ch=1," + kAssigned + ",Item=Z"), "Z", "Ch=1"},
      {"item of at most 90", Gsnx("S", "Item=" + std::string(100, 'i') + "," + kAssigned), std::string(90, 'i'),
       "Item=" + std::string(100, 'i')},
      {"options in the file's case, kept whole", Gsnx("S", longOptions + ",Item=I," + kAssigned), "I",
       longOptions + ",Item=I"},
      {"later line replaces", Gsnx("S", "Item=A," + kAssigned + ",Host") + Gsnx("S", "Item=B:C," + kAssigned), "B C",
       "Item=B C"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto result = ReadGlobalListing(listing + c.file, "S", "s");
    ASSERT_TRUE(std::holds_alternative<Listing>(result.first)) << Outcome(result);
    const Listing& read = std::get<Listing>(result.first);
    EXPECT_EQ(read.serverListing, "A#");
    EXPECT_EQ(read.itemText, c.itemText);
    EXPECT_EQ(read.sensorOptions, c.sensorOptions);
  }
}

TEST(GlobalListing, FailsWithTheFirstFault) {
  const std::string e1029 = "Error 1029: Invalid Sensor-Allocation...";
  const std::string e1025 = "Error 1025: Global Server Listing missing...";
  const std::string e1026 = "Error 1026: Global Item Idenification missing...";
  const std::string listing = Gsng("SYS1", "A#");
  const std::vector<ListingCase> cases = {
      {"unassigned, a later line good", listing + Gsnx("SYS1", "Item=I") + Settings("SYS1"), "SYS1", e1029},
      {"assignment is case-sensitive", listing + Gsnx("SYS1", "Item=I,Sensor=\"SAP TAVORINE\""), "SYS1", e1029},
      {"settings line without settings text", listing + "# GSNX: SYS1      \n", "SYS1", e1029},
      {"shorter than a key", listing + "# GSNX: SYS1\n", "SYS1", "Error 1030: Global Sensor sys1 not found..."},
      {"other sensor's bad line ignored", listing + Gsnx("OTHER", "Item=I") + Settings("SYS1"), "SYS1", "A#"},
      {"neither line", Gsng("OTHER", "A#") + Settings("OTHER"), "SYS1", "Error 1030: Global Sensor sys1 not found..."},
      {"listing without settings", listing, "SYS1", "Error 1030: Global Sensor sys1 not found..."},
      {"empty file", "", "SYS1", "Error 1030: Global Sensor sys1 not found..."},
      {"settings without listing", Settings("SYS1"), "SYS1", e1025},
      {"no item", listing + Gsnx("SYS1", kAssigned), "SYS1", e1026},
      {"item is case-sensitive", listing + Gsnx("SYS1", "ITEM=I," + kAssigned), "SYS1", e1026},
      {"empty item", listing + Gsnx("SYS1", "Item=," + kAssigned), "SYS1", e1026},
      {"listing checked before item", Gsnx("SYS1", kAssigned), "SYS1", e1025},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Outcome(ReadGlobalListing(c.file, c.options, "sys1")), c.expected);
  }
  EXPECT_EQ(Outcome(ReadGlobalListing(Gsng("OTHER", "A#"), "", "")), "Error 1030: Global Sensor  not found...");
}

TEST(SharedProfile, ReadsExactGsngLines) {
  const std::string item = "Group";
  const std::vector<ListingCase> cases = {
      {"gsng lines in file order", SharedLine("A#") + "Host=x\n" + SharedLine("B#C#"), item, "A#B#C#"},
      {"columns 9 to 20 not read", "# Gsng: OTHER  ?????A#\n", item, "A#"},
      {"other cases ignored", "# GSNG: ............X#\n# gsng: ............Y#\n" + SharedLine("A#"), item, "A#"},
      {"needs colon and blank", "# Gsng:.............X#\n# Gsng ............Y#\n" + SharedLine("A#"), item, "A#"},
      {"too short lines add nothing", "# Gsng: 1234567890ab\n# Gsng: \n" + SharedLine("A#"), item, "A#"},
      {"CR LF", "# Gsng: ............A#\r\n# Gsng: ............B#\r\n", item, "A#B#"},
      {"empty file", "", item, "Error 1025: Global Server Listing missing..."},
      {"empty file and item", "", "", "Error 1025: Global Server Listing missing..."},
      {"empty item", SharedLine("A#"), "", "Error 1026: Global Item Idenification missing..."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto result = ReadSharedProfile(c.file, c.options);
    EXPECT_EQ(Outcome(result), c.expected);
    if (const auto* listing = std::get_if<Listing>(&result.first)) {
      EXPECT_EQ(listing->itemText, c.options);
      EXPECT_FALSE(listing->sensorOptions.has_value());
    }
  }
}

TEST(ListingFiles, LongLinesArriveInPiecesOf199) {
  const std::string head = "# Gsng: ............";
  const std::string text(230, 'a');
  const std::string firstPiece = text.substr(0, 199 - head.size());
  EXPECT_EQ(Outcome(ReadSharedProfile(head + text + "\n", "I")), firstPiece);
  const std::string global = "# GSNG: SYS1        " + text + "\n" + Settings("SYS1");
  EXPECT_EQ(Outcome(ReadGlobalListing(global, "SYS1", "x")), firstPiece);
}

TEST(ListingFiles, ThousandSystemsAreKeptWhole) {
  std::string shared;
  std::string global = Settings("SYS1");
  std::string expected;
  for (int i = 0; i < 1000; ++i) {
    const std::string entry = "SYSTEM" + std::to_string(i) + ".P00#";
    shared += SharedLine(entry);
    global += Gsng("SYS1", entry);
    expected += entry;
  }
  EXPECT_EQ(Outcome(ReadSharedProfile(shared, "I")), expected);
  EXPECT_EQ(Outcome(ReadGlobalListing(global, "SYS1", "x")), expected);
}

TEST(ListingFiles, NulBytesEndALineAndJunkIsHarmless) {
  const std::string nul("# Gsng: ............A#\0B#\n", 27);
  EXPECT_EQ(Outcome(ReadSharedProfile(nul, "I")), "A#");
  std::mt19937 random(7);
  for (int round = 0; round < 50; ++round) {
    std::string junk(static_cast<std::size_t>(random() % 2000), '\0');
    for (char& c : junk) c = static_cast<char>(random());
    EXPECT_FALSE(Outcome(ReadSharedProfile(junk, "I")).empty());
    EXPECT_FALSE(Outcome(ReadGlobalListing(junk + Gsng("S", "A#"), "S", "s")).empty());
  }
}

}  // namespace
}  // namespace tavorine
