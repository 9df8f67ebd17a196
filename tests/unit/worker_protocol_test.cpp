#include "driver/group_run/worker_protocol.h"

#include <gtest/gtest.h>

namespace tavorine {
namespace {

std::string Fields(const std::vector<std::string>& texts) {
  std::string bytes;
  for (const std::string& text : texts) {
    char length[9];
    std::snprintf(length, sizeof length, "%08zx", text.size());
    bytes += length + text;
  }
  return bytes;
}

std::vector<Record> Read(std::string_view stream, bool& broken) {
  TextStream text(stream, 3);
  RecordReader reader(text);
  std::vector<Record> records;
  while (std::optional<Record> record = reader.Next()) records.push_back(*record);
  broken = reader.Broken();
  return records;
}

// A stream is taken record by record, up to the first that is not whole or
// not one of the five kinds; nothing beyond the limit is read at all.
TEST(WorkerProtocol, RecordsAreTakenUpToTheFirstThatIsNone) {
  const std::string two = EncodeRecord(RecordKind::Output, "a\nb") + EncodeRecord(RecordKind::Result, "");
  struct Case {
    std::string stream;
    std::size_t records;
    bool broken;
  };
  const std::vector<Case> cases = {
      {"", 0, false},
      {two, 2, false},
      {two + two.substr(0, 5), 2, true},                            // cut in a head
      {two + EncodeRecord(RecordKind::Log, "xyz").substr(0, 10), 2, true},  // cut in the bytes
      {two + "X00000000", 2, true},                                // a kind no one sends
      {"O0000000g", 0, true},                                       // a length that is no hex
      {"Offffffff" + std::string(100, 'x'), 0, true},               // beyond the limit
      {std::string(9, '\0'), 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.stream.substr(0, 24)));
    bool broken = false;
    EXPECT_EQ(Read(c.stream, broken).size(), c.records);
    EXPECT_EQ(broken, c.broken);
  }
}

// Every text survives the trip, separators of every kind in it included.
TEST(WorkerProtocol, RequestsAndAnswersComeBackAsTheyWent) {
  const std::string awkward = std::string("#,; =:\\/\r\n\t\"", 13) + std::string(1, '\0') + "00000008" + "\xff";
  CheckRequest check;
  for (std::string* text : {&check.profile.Destination, &check.profile.Password, &check.profile.Hostname,
                            &check.profile.Gwservice}) {
    *text = awkward;
  }
  check.destinationIni = WholeFile{awkward, std::nullopt};
  const std::optional<CheckRequest> back = DecodeCheck(EncodeCheck(check));
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->profile.Password, awkward);
  EXPECT_EQ(back->profile.Gwservice, awkward);
  EXPECT_EQ(back->destinationIni->bytes, awkward);
  check.destinationIni = WholeFile{{}, WholeFileFault::TooLarge};
  EXPECT_EQ(DecodeCheck(EncodeCheck(check))->destinationIni->fault, WholeFileFault::TooLarge);
  check.destinationIni.reset();
  EXPECT_FALSE(DecodeCheck(EncodeCheck(check))->destinationIni.has_value());

  SystemOutcome outcome;
  outcome.failedAt = CheckStep::MissingObjects;
  outcome.logonFailure = RunFailure{1044, awkward};
  outcome.callCode = -2147483647 - 1;
  outcome.exception = awkward;
  outcome.dictionary.VIE_MIS_DD = 2147483647;
  const std::optional<SystemOutcome> answered = DecodeOutcome(EncodeOutcome(outcome));
  ASSERT_TRUE(answered.has_value());
  EXPECT_EQ(answered->failedAt, CheckStep::MissingObjects);
  EXPECT_EQ(answered->logonFailure->number, 1044);
  EXPECT_EQ(answered->logonFailure->message, awkward);
  EXPECT_EQ(answered->callCode, outcome.callCode);
  EXPECT_EQ(answered->dictionary.VIE_MIS_DD, 2147483647);

  const std::optional<LogLine> line = DecodeLog(EncodeLog({-7, awkward, ""}));
  ASSERT_TRUE(line.has_value());
  EXPECT_EQ(line->number, -7);
  EXPECT_EQ(line->text, awkward);
}

// Fields that do not fit give no value, never a part of one.
TEST(WorkerProtocol, DecodersRefuseWhatDoesNotFit) {
  const std::string outcome = EncodeOutcome(SystemOutcome{});
  const std::vector<std::pair<std::string, std::string>> logs = {
      {"a field short", Fields({"1", "text"})},
      {"a field more", Fields({"1", "text", "", ""})},
      {"a number that is none", Fields({"1x", "text", ""})},
      {"a number beyond 32 bits", Fields({"2147483648", "text", ""})},
      {"a length beyond the bytes", Fields({"1", "text"}) + "00000009abc"},
  };
  for (const auto& [name, bytes] : logs) EXPECT_FALSE(DecodeLog(bytes).has_value()) << name;
  EXPECT_FALSE(DecodeOutcome(outcome.substr(0, outcome.size() - 1)).has_value());
  EXPECT_FALSE(DecodeOutcome(Fields({"6"}) + outcome.substr(9)).has_value()) << "a step beyond the last";
  EXPECT_FALSE(DecodeCheck(Fields(std::vector<std::string>(12, "x")) + Fields({"?"})).has_value()) << "an ini state";
  EXPECT_FALSE(DecodeStart(Fields({"options", "folder", "2"})).has_value()) << "a flag that is no flag";
}

}  // namespace
}  // namespace tavorine
