#include <gtest/gtest.h>

#include <chrono>
#include <cstring>

#include "catalogue.h"
#include "description.h"

namespace rfcsim {
namespace {

std::string Value(const SystemDescription& system, std::string_view name) {
  const std::string* bytes = system.Value(FindSettableValue(name)->name);
  return bytes ? *bytes : std::string("(unset)");
}

TEST(ParseDescription, ReadsSystemsWithLogonDataValuesAndFailures) {
  const Description description = ParseDescription(
      "# two systems\r\n"
      "[system DEV]\r\n"
      "client = 100\r\n"
      "user = monitor\n"
      "password = Secret 1\n"
      "host = devhost\n"
      "sysnr = 00\n"
      "RFCDBSYS = \"DB4       \"\n"
      "sysid = \"DV \"\n"
      "TAB_MIS_DD = -3\n"
      "SYS_ASP_P = 12.5\n"
      "cpu_rows = 4\n"
      "fail.call.GET_CPU_ALL = 2 NOT_FOUND\n"
      "fail.receive.RFC_SYSTEM_INFO = 23\n"
      "fail.callback.receive.DB02_DB4_GET_INFO = connection lost\n"
      "fail.itcreate = MISS_VIEWS tf_cpu_all\n"
      "fail.install = RFCSI\n"
      "\n"
      "  [ system  QAS ]  \n"
      "; no keys at all\n");
  ASSERT_TRUE(description.problems.empty()) << description.problems.front().text;
  ASSERT_EQ(description.Destinations().size(), 2u);
  const SystemDescription& dev = *description.Find("dev");
  EXPECT_EQ(dev.destination, "DEV");
  EXPECT_EQ(dev.client, "100");
  EXPECT_EQ(dev.user, "MONITOR");
  EXPECT_EQ(dev.password, "Secret 1");
  EXPECT_EQ(dev.sysnr, 0);
  EXPECT_EQ(dev.cpuRows, 4u);
  EXPECT_EQ(Value(dev, "RFCDBSYS"), "DB4       ");
  EXPECT_EQ(Value(dev, "SYSID"), "DV      ");
  EXPECT_EQ(Value(dev, "RFCHOST"), "devhost ");
  EXPECT_EQ(Value(dev, "RFCDEST"), "DEV" + std::string(29, ' '));
  int32_t missing = 0;
  std::memcpy(&missing, Value(dev, "TAB_MIS_DD").data(), 4);
  EXPECT_EQ(missing, -3);
  EXPECT_EQ(dev.failures.atCall.at("GET_CPU_ALL").code, 2);
  EXPECT_EQ(dev.failures.atCall.at("GET_CPU_ALL").exception, "NOT_FOUND");
  EXPECT_EQ(dev.failures.atReceive.at("RFC_SYSTEM_INFO").code, 23);
  EXPECT_EQ(dev.failures.callbackAtReceive.at("DB02_DB4_GET_INFO"), "connection lost");
  EXPECT_EQ(dev.failures.itCreate, (std::set<std::string, std::less<>>{"MISS_VIEWS", "TF_CPU_ALL"}));
  EXPECT_TRUE(dev.failures.install.contains("RFCSI"));

  const SystemDescription& qas = *description.Find("QAS");
  EXPECT_FALSE(qas.client.has_value());
  EXPECT_EQ(qas.cpuRows, 1u);
  EXPECT_EQ(Value(qas, "RFCHOST"), std::string(8, ' '));
  EXPECT_EQ(Value(qas, "SYSID"), "QAS     ");
  EXPECT_EQ(description.Find("PRD"), nullptr);
}

struct BadCase {
  std::string text;
  size_t line;
  std::string problem;
};

TEST(ParseDescription, EveryUnusableLineIsAProblemWithItsNumber) {
  const std::string head = "[system DEV]\n";
  const std::vector<BadCase> cases = {
      {"client = 1\n", 1, "key outside a [system NAME] section"},
      {head + "just words\n", 2, "expected [system NAME] or key = value"},
      {head + "colour = blue\n", 2, "unknown key COLOUR"},
      {head + "client = 1\nCLIENT = 2\n", 3, "CLIENT given twice"},
      {head + "[system dev]\n", 2, "system dev described twice, first at line 1"},
      {"[system]\n", 1, "section header must be [system NAME] or [defaults]"},
      {"[system A B]\n", 1, "section header must be [system NAME] or [defaults]"},
      {"[server DEV]\n", 1, "section header must be [system NAME] or [defaults]"},
      {"[system DEV\n", 1, "section header must be [system NAME] or [defaults]"},
      {"[defaults]\nclient = 100\n", 2, "CLIENT: only latency, jitter, hang and crash keys can stand in [defaults]"},
      {"[defaults]\njitter = 1\njitter = 2\n", 3, "JITTER given twice"},
      {"[defaults]\n[DEFAULTS]\n", 2, "[defaults] given twice, first at line 1"},
      {head + "sysnr = 100\n", 2, "expected a system number from 00 to 99"},
      {head + "latency.logon = -5\n", 2, "expected milliseconds from 0 to 600000"},
      {head + "latency.call = 600001\n", 2, "expected milliseconds from 0 to 600000"},
      {head + "jitter = 5ms\n", 2, "expected milliseconds from 0 to 600000"},
      {head + "latency.call.GET_CPU = 5\n", 2, "unknown function module GET_CPU"},
      {head + "hang = GET_CPU\n", 2, "unknown function module GET_CPU"},
      {head + "crash =\n", 2, "expected logon or a function module"},
      {head + "cpu_rows = -1\n", 2, "expected a number of rows from 0 to 100000"},
      {head + "RFCDBSYS = DB4 and more\n", 2, "RFCDBSYS: 12 characters, at most 10 fit"},
      {head + "TAB_MIS_DD = many\n", 2, "TAB_MIS_DD: expected an integer from -2147483648 to 2147483647"},
      {head + "FS_A_DATE = 8.12.2022\n", 2, "FS_A_DATE: expected 8 digits YYYYMMDD or blanks"},
      {head + "SYS_ASP_S = 1.25\n", 2,
       "SYS_ASP_S: expected a decimal number of at most 11 digits with at most 1 decimals"},
      {head + "fail.call.GET_CPU = 1\n", 2, "unknown function module GET_CPU"},
      {head + "fail.call.GET_CPU_ALL = 0\n", 2,
       "expected a code from 1 up, then for codes 2 and 3 an exception name"},
      {head + "fail.receive.GET_CPU_ALL = 1 NOT_FOUND\n", 2, "only codes 2 and 3 carry an exception name"},
      {head + "fail.itdelete = NO_SUCH_TABLE\n", 2, "unknown name NO_SUCH_TABLE"},
      {head + "fail.install =\n", 2, "expected one or more names"},
      {head + "fail.whatever = 1\n", 2, "unknown key FAIL.WHATEVER"},
      {head + "RFCSI_EXPORT = x\n", 2, "unknown key RFCSI_EXPORT"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const Description description = ParseDescription(c.text);
    ASSERT_EQ(description.problems.size(), 1u);
    EXPECT_EQ(description.problems[0].line, c.line);
    EXPECT_EQ(description.problems[0].text, c.problem);
  }
}

TEST(ParseDescription, LinesOfABadSectionAreSkippedAndLaterSystemsStillRead) {
  const Description description = ParseDescription("[sys A]\nclient = 1\nnonsense\n[system B]\nclient = 2\n");
  ASSERT_EQ(description.problems.size(), 2u);
  EXPECT_EQ(description.problems[1].line, 3u);
  ASSERT_EQ(description.Destinations(), std::vector<std::string>{"B"});
  EXPECT_EQ(description.Find("B")->client, "2");
}

TEST(ParseDescription, QuotesKeepBlanksAndDefaultsApplyToEveryCode) {
  const Description description = ParseDescription(
      "[system D]\nlanguage = \"\"\nfail.logon =\nfail.call.GET_CPU_ALL = 3\nfail.receive.GET_CPU_ALL = 2\n"
      "fail.callback.logon = \n");
  ASSERT_TRUE(description.problems.empty());
  const SystemDescription& system = *description.Find("D");
  EXPECT_EQ(system.language, "");
  EXPECT_EQ(system.failures.logonRefused, "Name or password is incorrect (repeat logon)");
  EXPECT_EQ(system.failures.atCall.at("GET_CPU_ALL").exception, "SYSTEM_FAILURE");
  EXPECT_EQ(system.failures.atReceive.at("GET_CPU_ALL").exception, "NOT_FOUND");
  EXPECT_EQ(system.failures.callbackAtLogon, "simulated library failure");
}

TEST(ParseDescription, DefaultsGiveEverySystemWhatItLeavesUnsetKeyByKey) {
  const Description description = ParseDescription(
      "[system DEV]\nlatency.call = 7\nhang = logon\n"
      "[defaults]\nlatency.logon = 300\nlatency.call = 20\nlatency.call.GET_CPU_ALL = 50\njitter = 4\n"
      "crash = rfc_system_info\n"
      "[system QAS]\nlatency.call.GET_CPU_ALL = 60\njitter = 0\n");
  ASSERT_TRUE(description.problems.empty()) << description.problems.front().text;
  const NetworkConduct& dev = description.Find("DEV")->network;
  EXPECT_EQ(dev.logonLatency, 300u);
  EXPECT_EQ(dev.callLatency, 7u);
  EXPECT_EQ(dev.functionLatency.at("GET_CPU_ALL"), 50u);
  EXPECT_EQ(dev.hang, "LOGON");
  EXPECT_EQ(dev.crash, "RFC_SYSTEM_INFO");
  const NetworkConduct& qas = description.Find("QAS")->network;
  EXPECT_EQ(qas.callLatency, 20u);
  EXPECT_EQ(qas.functionLatency.at("GET_CPU_ALL"), 60u);
  EXPECT_EQ(qas.jitter, 0u);
  EXPECT_FALSE(qas.hang.has_value());
}

TEST(ParseDescription, ArbitraryBytesNeverBreakIt) {
  std::string noise;
  for (int i = 0; i < 4096; ++i) noise += static_cast<char>((i * 7919) % 256);
  const Description description = ParseDescription("[system X]\n" + noise + "\n[system Y]\n");
  EXPECT_FALSE(description.problems.empty());
  EXPECT_NE(description.Find("Y"), nullptr);
}

TEST(ParseDescription, AThousandSystemsReadInOnePass) {
  std::string text;
  for (int i = 0; i < 1000; ++i) {
    text += "[system S" + std::to_string(i) + "]\nclient = 100\nuser = U\npassword = P\nlanguage = E\nhost = h" +
            std::to_string(i) + "\nsysnr = 00\nRFCDBSYS = DB4\nDBSYS = DB4\nFS_A_DATE = 20261208\n"
            "FS_A_TIME = 061500\nSYSID = S\nTAB_MIS_DD = 3\nIDX_MIS_DD = 5\nlatency.call = 20\n";
  }
  // A worker process per system reads the whole file: it takes about a
  // millisecond or two, and a hundred times that is a fault, not noise.
  const auto start = std::chrono::steady_clock::now();
  const Description description = ParseDescription(text);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(250));
  EXPECT_TRUE(description.problems.empty());
  ASSERT_EQ(description.Destinations().size(), 1000u);
  EXPECT_EQ(description.Find("s999")->host, "h999");
}

}  // namespace
}  // namespace rfcsim
