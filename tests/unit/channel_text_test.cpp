#include "output/channel_text.h"

#include <gtest/gtest.h>

#include "driver/run/option_words.h"

#include "output/result_document.h"

namespace tavorine {
namespace {

TEST(ChannelText, IdentReplacesTheTenCharactersAndTheFirstDot) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"Abap Tables missing", "Abap_Tables_missing"},
      {"x/y-z (1)", "x_y_z__1_"},
      {"a.b.c", "a_b.c"},
      {"[a]*\\b:c", "_a___b_c"},
      {"Ab9_.x", "Ab9__x"},
      {"", ""},
  };
  for (const auto& [name, ident] : cases) EXPECT_EQ(ChannelIdent(name), ident) << name;
}

TEST(ChannelText, DisplayUnitTranslatesThreeUnitsExactly) {
  EXPECT_EQ(DisplayUnit(""), "#");
  EXPECT_EQ(DisplayUnit("PerCent"), "%");
  EXPECT_EQ(DisplayUnit("TimeResponse"), "mSec");
  EXPECT_EQ(DisplayUnit("ms"), "ms");
  EXPECT_EQ(DisplayUnit("percent"), "percent");
}

TEST(ChannelText, ChannelNumberIsReadAfterChEqualsAsTyped) {
  struct Case {
    std::string typed;
    bool active;
    int channel;
  };
  const std::vector<Case> cases = {
      {"CH=2", true, 2},     {"ch=2", true, 2},       {"CH=1234", true, 123}, {"CH=3,SYSLOG", true, 3},
      {"BATCH=5", true, 5},  {"CH=x", true, 0},       {"CH=7", true, 7},      {"CH= 4", true, 4},
      {"CH=-1", true, -1},   {"CH=", true, 0},        {"CH=,2", true, 0},     {"X CH=12 Y", true, 12},
      {"CHANNEL", false, 0}, {"", false, 0},
  };
  for (const auto& c : cases) {
    const ChannelSelection selection = std::get<OptionWords>(ReadOptionWords(c.typed)).channel;
    EXPECT_EQ(selection.active, c.active) << c.typed;
    EXPECT_EQ(selection.channel, c.channel) << c.typed;
  }
}

void WriteChannels(ResultDocument& document, int count) {
  document.DocOpen();
  document.DocTextOpen();
  document.AppendText("M");
  document.DocTextClose();
  for (int i = 1; i <= count; ++i) document.DocChannel("C" + std::to_string(i), std::to_string(i * 10), "");
  document.DocClose();
}

TEST(ChannelText, CorvantaWritesTheFirstTenOfTwelveChannels) {
  ResultDocument document(OutputMode::Corvanta);
  WriteChannels(document, 12);
  std::string expected = "\n# M";
  for (int i = 1; i <= 10; ++i) {
    const std::string n = std::to_string(i);
    expected += "\n\nMessage.C" + n + ": C" + n + " (#)\nStatistic.C" + n + ": " + std::to_string(i * 10);
  }
  EXPECT_EQ(document.Text(), expected + "\n");
}

TEST(ChannelText, BrantleSelectionCountsEveryChannelCall) {
  ResultDocument selected(OutputMode::Brantle);
  selected.FollowOptions({true, 11}, false);
  WriteChannels(selected, 12);
  EXPECT_EQ(selected.Text(), "110\n");

  ResultDocument beyond(OutputMode::Brantle);
  beyond.FollowOptions({true, 13}, false);
  WriteChannels(beyond, 12);
  EXPECT_EQ(beyond.Text(), "\n");

  ResultDocument all(OutputMode::Brantle);
  WriteChannels(all, 2);
  EXPECT_EQ(all.Text(), "\n# M\n> C1: 10 #\n> C2: 20 #\n");
}

TEST(ChannelText, SelectionChangesNothingInTheOtherModes) {
  for (const OutputMode mode : {OutputMode::EXEXML, OutputMode::Glimmet, OutputMode::Tolvane, OutputMode::Corvanta}) {
    ResultDocument plain(mode);
    WriteChannels(plain, 3);
    ResultDocument selected(mode);
    selected.FollowOptions({true, 2}, false);
    WriteChannels(selected, 3);
    EXPECT_EQ(plain.Text(), selected.Text());
  }
}

}  // namespace
}  // namespace tavorine
