#include "driver/startup/startup.h"

#include <gtest/gtest.h>

namespace tavorine {
namespace {

RunOptions Started(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), "tavorine");
  auto result = StartUp(arguments);
  EXPECT_TRUE(std::holds_alternative<RunOptions>(result));
  return std::get<RunOptions>(result);
}

TEST(StartUp, WithoutProfileArgumentFailsWithError1001) {
  const auto result = StartUp({"tavorine"});
  ASSERT_TRUE(std::holds_alternative<RunFailure>(result));
  EXPECT_EQ(std::get<RunFailure>(result).message, "Error 1001: Parameter for Profile-Name is missing !");
  EXPECT_EQ(std::get<RunFailure>(result).number, 1001);
}

struct ProfileNameCase {
  std::string argument;
  std::string directory;
  std::string name;
  bool listing;
};

TEST(StartUp, ProfileNameGetsDefaultExtensionAndDirectorySplit) {
  const std::vector<ProfileNameCase> cases = {
      {"SYS", "", "SYS.P00", false},
      {"AB", "", "AB.P00", false},
      {"SYS.CFG", "", "SYS.CFG", false},
      {"SYS.X", "", "SYS.X.P00", false},
      {"D:\\Sensors\\SYS", "D:\\Sensors\\", "SYS.P00", false},
      {"\\SYS", "", "\\SYS.P00", false},
      {"global", "", "SAP Kestrion.Gbl", true},
      {"GLOBAL.P00", "", "SAP Kestrion.Gbl", true},
      {"D:\\X\\Global", "D:\\X\\", "SAP Kestrion.Gbl", true},
      {"Global.p00", "", "SAP Kestrion.Gbl", true},
      {"GLOBALS", "", "GLOBALS.P00", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.argument);
    const RunOptions options = Started({c.argument});
    EXPECT_EQ(options.profileDir, c.directory);
    EXPECT_EQ(options.profileName, c.name);
    EXPECT_EQ(options.listingRun, c.listing);
  }
}

struct OptionsCase {
  std::vector<std::string> arguments;
  std::string optionsAsGiven;
  bool consoleTrace;
  bool runLog;
};

TEST(StartUp, OptionsAreJoinedAndTheirWordsFoundInAnyCase) {
  const std::vector<OptionsCase> cases = {
      {{"SYS"}, "", false, false},
      {{"SYS", "x", "y", "z"}, "x y", false, false},
      {{"SYS", "Ch=2,syslog"}, "Ch=2,syslog", false, true},
      {{"SYS", "SYSLOG"}, "SYSLOG", false, false},
      {{"SYS", "#"}, "#", true, false},
      {{"SYS", "Sys1@Mon"}, "Sys1@Mon", true, false},
      {{"SYS", "cost", "$5"}, "cost $5", true, false},
      {{"SYS", "50%"}, "50%", true, false},
      {{"SYS", "äb"}, "äb", false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.optionsAsGiven);
    const RunOptions options = Started(c.arguments);
    EXPECT_EQ(options.optionsAsGiven, c.optionsAsGiven);
    EXPECT_EQ(options.consoleTrace, c.consoleTrace);
    EXPECT_EQ(options.words.runLog, c.runLog);
  }
}

TEST(StartUp, LongArgumentsAreKeptWhole) {
  const std::string name(200, 'N');
  const std::string words(300, 'w');
  const RunOptions options = Started({name, words});
  EXPECT_EQ(options.profileName, name + ".P00");
  EXPECT_EQ(options.optionsAsGiven, words);
}

struct ItemCase {
  std::string firstArgument;
  std::string options;
  std::string item;
};

TEST(StartUp, ItemOptionSelectsListingOverSharedProfile) {
  const std::vector<ItemCase> cases = {
      {"SYS", "item=Sys1:Host", "Sys1 Host"},
      {"D:\\Dir\\Any", "ITEM=X1:Y2,Z3", "X1 Y2"},
      {"SYS", "a ITEM=abc def", "abc"},
      {"SYS", "ITEM=", ""},
      {"SYS", "ITEM=" + std::string(95, 'i'), std::string(90, 'i')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.options);
    const RunOptions options = Started({c.firstArgument, c.options});
    EXPECT_TRUE(options.listingRun);
    EXPECT_EQ(options.itemText, c.item);
    EXPECT_EQ(options.profileName, "Kestrion.Prf");
    EXPECT_EQ(options.profileDir, "");
  }
}

TEST(StartUp, ExactlyOneOutputModeHolds) {
  const std::vector<std::pair<std::string, OutputMode>> cases = {
      {"", OutputMode::EXEXML},
      {"mode=brantle", OutputMode::Brantle},
      {"X,MODE=Corvanta,SYSLOG", OutputMode::Corvanta},
      {"Mode=Glimmet", OutputMode::Glimmet},
      {"MODE=TOLVANE CH=2", OutputMode::Tolvane},
      {"MODE=exexml", OutputMode::EXEXML},
      {"MODE=Brantle MODE=Corvanta", OutputMode::Brantle},
  };
  for (const auto& [text, mode] : cases) {
    SCOPED_TRACE(text);
    EXPECT_EQ(Started({"SYS", text}).outputMode, mode);
  }
}

TEST(StartUp, UnknownOutputModeIsRefused) {
  for (const std::string text : {"MODE=", "MODE=XML", "MODE=Brantles"}) {
    SCOPED_TRACE(text);
    const auto result = StartUp({"tavorine", "SYS", text});
    ASSERT_TRUE(std::holds_alternative<RunFailure>(result));
    EXPECT_EQ(std::get<RunFailure>(result).message.substr(0, 11), "Error 1040:");
  }
}

TEST(StartUp, BannerCarriesStartTimeNameAndVersion) {
  const StartTime started;
  EXPECT_EQ(StartBanner(started), "* " + LocalTimeOfDay(started.Wall()) + " SAP Tavorine Vers 4.3 / 29.08.22");
}

}  // namespace
}  // namespace tavorine
