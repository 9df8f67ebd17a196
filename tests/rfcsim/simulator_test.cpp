#include "simulator.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <regex>
#include <sstream>

#include "program_side.h"

namespace rfcsim {
namespace {

using namespace rfcsim::testing;

// The library's error callback is a plain C function.
std::string handlerText;
void RecordingHandler(char* operation) { handlerText = operation; }

// Like the sensor's error report, which closes everything before it ends the
// process; this one returns instead.
Simulator* reportingSimulator = nullptr;
void ClosingHandler(char* operation) {
  handlerText = operation;
  reportingSimulator->Close(0);
}

class SimulatorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    directory_ = std::filesystem::temp_directory_path() / (std::string("rfcsim_") + test->name());
    std::filesystem::remove_all(directory_);
    std::filesystem::create_directories(directory_);
    handlerText.clear();
  }
  void TearDown() override { std::filesystem::remove_all(directory_); }

  void Write(const char* name, const std::string& text) { std::ofstream(directory_ / name, std::ios::binary) << text; }

  // The trace with the header's time masked.
  std::string Trace() const {
    std::ifstream file(directory_ / "Dev_Rfc.Trc", std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return std::regex_replace(text.str(), std::regex("opened at [0-9]{8} [0-9]{6}"), "opened at <time>");
  }

  RFC_HANDLE OpenR3(Simulator& simulator, const char* destination, const char* user = "MONITOR     ",
                    const char* password = "secret    ", const char* host = "devhost", int32_t sysnr = 0) {
    server_ = {const_cast<char*>(host), sysnr, nullptr, nullptr};
    options_ = {const_cast<char*>(destination), 0, &server_, const_cast<char*>("100"), const_cast<char*>(user),
                const_cast<char*>(password), const_cast<char*>("E"), 0};
    return simulator.Open(&options_);
  }

  RFC_HANDLE OpenR2(Simulator& simulator, const char* gatewayHost, const char* gatewayService) {
    gateway_ = {const_cast<char*>(gatewayHost), const_cast<char*>(gatewayService)};
    options_ = {const_cast<char*>("DEV"), 1, &gateway_, const_cast<char*>("100"), const_cast<char*>("MONITOR     "),
                const_cast<char*>("secret    "), const_cast<char*>("E"), 0};
    return simulator.Open(&options_);
  }

  static constexpr const char* kDev =
      "[system DEV]\nclient = 100\nuser = monitor\npassword = secret\nhost = DEVHOST\nsysnr = 00\n";

  std::filesystem::path directory_;
  RFC_CONNOPT_R3 server_{};
  RFC_CONNOPT_R2 gateway_{};
  RFC_OPTIONS options_{};
};

const std::string kHead = "**** ERROR file opened at <time>\n";

TEST_F(SimulatorTest, WithoutDescriptionEveryLogonIsRefusedAndTheTraceSaysWhy) {
  Simulator simulator(directory_);
  EXPECT_EQ(OpenR3(simulator, "DEV"), 0u);
  EXPECT_EQ(Trace(), kHead + "ERROR       RfcOpen DEV: logon refused\n"
                             "T:00001======> no RfcSim.txt in the working directory\n");
  RFC_ERROR_INFO info{};
  simulator.LastError(&info);
  EXPECT_STREQ(info.key, "RFC_ERROR_LOGON_FAILURE");
  EXPECT_STREQ(info.message, "RfcOpen DEV: logon refused");
}

TEST_F(SimulatorTest, LogonChecksTheDescribedDataButNeverShowsThePassword) {
  Write("RfcSim.txt", kDev);
  struct Case {
    const char* what;
    const char* destination;
    const char* user;
    const char* password;
    const char* host;
    int32_t sysnr;
    std::string reason;  // empty: accepted
  };
  const std::vector<Case> cases = {
      {"all right", "dev", "monitor     ", "secret    ", "devhost", 0, ""},
      {"password", "DEV", "MONITOR     ", "Secret    ", "devhost", 0, "Name or password is incorrect (repeat logon)"},
      {"user", "DEV", "MONITOR2    ", "secret    ", "devhost", 0, "Name or password is incorrect (repeat logon)"},
      {"host", "DEV", "MONITOR     ", "secret    ", "prdhost", 0, "partner not reached: host prdhost, expected DEVHOST"},
      {"sysnr", "DEV", "MONITOR     ", "secret    ", "devhost", 1, "partner not reached: system number 1, expected 0"},
      {"destination", "PRD", "MONITOR     ", "secret    ", "devhost", 0,
       "destination PRD is not described in RfcSim.txt"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove(directory_ / "Dev_Rfc.Trc");
    Simulator simulator(directory_);
    const RFC_HANDLE handle = OpenR3(simulator, c.destination, c.user, c.password, c.host, c.sysnr);
    if (c.reason.empty()) {
      EXPECT_NE(handle, 0u);
      EXPECT_FALSE(std::filesystem::exists(directory_ / "Dev_Rfc.Trc"));
    } else {
      EXPECT_EQ(handle, 0u);
      EXPECT_EQ(Trace(), kHead + "ERROR       RfcOpen " + c.destination + ": logon refused\nT:00001======> " +
                             c.reason + "\n");
      EXPECT_EQ(Trace().find("ecret"), std::string::npos);
    }
  }
}

TEST_F(SimulatorTest, AProblemInTheDescriptionRefusesEveryLogon) {
  Write("RfcSim.txt", std::string(kDev) + "colour = red\n");
  Simulator simulator(directory_);
  EXPECT_EQ(OpenR3(simulator, "DEV"), 0u);
  EXPECT_NE(Trace().find("======> RfcSim.txt line 7: unknown key COLOUR\n"), std::string::npos);
}

TEST_F(SimulatorTest, UnpaddedLogonFieldsBreakTheContract) {
  Write("RfcSim.txt", kDev);
  Simulator simulator(directory_);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(OpenR3(simulator, "DEV", "MONITOR"), 0u);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "rfcsim: contract: RfcOpen: user field of 7 characters, expected blank-padded to 12\n");
  EXPECT_EQ(Trace(), kHead + "ERROR       contract: RfcOpen: user field of 7 characters, expected blank-padded to 12\n");
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(OpenR3(simulator, "DEV", "MONITOR     ", "secret"), 0u);
  EXPECT_EQ(::testing::internal::GetCapturedStderr().find("secret"), std::string::npos);
}

TEST_F(SimulatorTest, OpenExResolvesTheDestinationThroughSapRfcIni) {
  Write("RfcSim.txt", kDev);
  Simulator simulator(directory_);
  const char* connect = "CLIENT=100 USER=monitor PASSWD=secret LANG=D DEST=DEV";
  RFC_ERROR_INFO info{};
  EXPECT_EQ(simulator.OpenEx(connect, &info), 0u);
  EXPECT_STREQ(info.intstat, "no SapRfc.ini in the working directory");
  Write("SapRfc.ini", "* test\nDEST=QAS\nTYPE=A\nASHOST=qashost\nSYSNR=01\n");
  EXPECT_EQ(simulator.OpenEx(connect, &info), 0u);
  EXPECT_STREQ(info.intstat, "destination DEV not found in SapRfc.ini");
  Write("SapRfc.ini", "DEST=QAS\r\nASHOST=qashost\r\nDEST=DEV\r\nTYPE=A\r\nASHOST=devhost\r\nSYSNR=01\r\n");
  EXPECT_EQ(simulator.OpenEx(connect, &info), 0u);
  EXPECT_STREQ(info.intstat, "partner not reached: system number 1, expected 0");
  Write("SapRfc.ini", "DEST=DEV\nTYPE=A\nASHOST=devhost\nSYSNR=00\nRFC_TRACE=0\n");
  EXPECT_NE(simulator.OpenEx(connect, &info), 0u);
  EXPECT_EQ(Trace().find("secret"), std::string::npos);

  ::testing::internal::CaptureStderr();
  EXPECT_EQ(simulator.OpenEx("CLIENT=100 USER=monitor PASSWD=secret LANG=E DEST=DEV", &info), 0u);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "rfcsim: contract: RfcOpenEx: connect string LANG=E, expected LANG=D\n");
}

TEST_F(SimulatorTest, TheGatewayRoadChecksGatewayHostAndServiceInsteadOfTheServer) {
  Write("RfcSim.txt", std::string(kDev) + "gwhost = qas-gw01\ngwservice = sapgw00\n");
  Simulator simulator(directory_);
  EXPECT_NE(OpenR2(simulator, "QAS-GW01", "sapgw00"), 0u);
  RFC_ERROR_INFO info{};
  EXPECT_EQ(OpenR2(simulator, "qas-gw02", "sapgw00"), 0u);
  simulator.LastError(&info);
  EXPECT_STREQ(info.intstat, "partner not reached: gateway host qas-gw02, expected qas-gw01");
  EXPECT_EQ(OpenR2(simulator, "qas-gw01", nullptr), 0u);
  simulator.LastError(&info);
  EXPECT_STREQ(info.intstat, "partner not reached: gateway service (none), expected sapgw00");
  Write("SapRfc.ini", "DEST=DEV\nTYPE=R\nGWHOST=qas-gw01\nGWSERV=sapgw01\n");
  EXPECT_EQ(simulator.OpenEx("CLIENT=100 USER=monitor PASSWD=secret LANG=D DEST=DEV", &info), 0u);
  EXPECT_STREQ(info.intstat, "partner not reached: gateway service sapgw01, expected sapgw00");
}

// Restores the working directory that a test changes.
class WorkingDirectory {
 public:
  WorkingDirectory() : previous_(std::filesystem::current_path()) {}
  ~WorkingDirectory() { std::filesystem::current_path(previous_); }

 private:
  std::filesystem::path previous_;
};

TEST_F(SimulatorTest, TheDescriptionIsReadAtRfcEnvironmentAndTheOtherFilesWhereEachCallRuns) {
  const auto sensor = directory_ / "sensor", worker = directory_ / "worker";
  std::filesystem::create_directories(sensor);
  std::filesystem::create_directories(worker);
  Write("sensor/RfcSim.txt", kDev);
  WorkingDirectory restored;
  Simulator simulator;
  RFC_ENV environment{RecordingHandler, nullptr};
  std::filesystem::current_path(worker);
  simulator.Environment(&environment);
  std::filesystem::current_path(sensor);
  simulator.Environment(&environment);
  std::filesystem::current_path(worker);
  const RFC_HANDLE handle = OpenR3(simulator, "DEV");
  EXPECT_NE(handle, 0u);
  simulator.Close(handle);
  EXPECT_EQ(OpenR3(simulator, "DEV", "INTRUDER    "), 0u);
  EXPECT_TRUE(std::filesystem::exists(worker / "Dev_Rfc.Trc"));
  EXPECT_FALSE(std::filesystem::exists(sensor / "Dev_Rfc.Trc"));
}

// A whole measurement as the sensor makes it, checking what arrives byte for byte.
class MeasurementTest : public SimulatorTest {
 protected:
  void Install(Simulator& simulator) {
    const std::pair<const char*, std::vector<RFC_TYPE_ELEMENT>> structures[] = {
        {"CPU_ALL", CpuAllDescriptors()},
        {"RFCSI", RfcsiDescriptors()},
        {"DB02INFDB4", Db02Descriptors()},
        {"MISSOBJ", MissObjDescriptors()}};
    RFC_TYPEHANDLE* targets[] = {&cpuType_, &rfcsiType_, &db02Type_, &missType_};
    for (size_t i = 0; i < 4; ++i) {
      auto elements = structures[i].second;
      ASSERT_EQ(simulator.InstallStructure(structures[i].first, elements.data(),
                                           static_cast<uint32_t>(elements.size()), targets[i]),
                0);
    }
  }

  RFC_RC CpuRead(Simulator& simulator, RFC_HANDLE handle, ITAB_H table, char** exception) {
    auto exporting = cpu_.Exporting();
    auto importing = cpu_.Importing();
    RFC_TABLE tables[] = {Table("TF_CPU_ALL", cpuType_, table), kEndOfTables};
    const RFC_RC code = simulator.Call(handle, "GET_CPU_ALL", exporting.data(), tables);
    if (code != 0) return code;
    return simulator.Receive(handle, importing.data(), tables, exception);
  }

  RFC_TYPEHANDLE cpuType_ = 0, rfcsiType_ = 0, db02Type_ = 0, missType_ = 0;
  CpuCall cpu_;
  SystemInfoCall info_;
  Db02Call db02_;
};

TEST_F(MeasurementTest, ValuesArriveAtTheirPositionsAndRowsInTheTable) {
  Write("RfcSim.txt", std::string(kDev) +
                          "RFCDBSYS = \"DB4 \"\nRFCHOST = as400a\ncpu_rows = 3\nNBR_CPU = 4\nDBSYS = DB4\n"
                          "FS_A_DATE = 20221208\nFS_A_TIME = 175418\nSYSID = DEV\nIDX_MIS_DD = -2\n"
                          "VIE_MIS_DD = 2147483647\nSYS_ASP_P = -1.5\n");
  Simulator simulator(directory_);
  const RFC_HANDLE handle = OpenR3(simulator, "DEV");
  ASSERT_NE(handle, 0u);
  Install(simulator);

  ITAB_H cpuTable = simulator.ItCreate("TF_CPU_ALL", 48, 0, 0);
  char* exception = nullptr;
  ASSERT_EQ(CpuRead(simulator, handle, cpuTable, &exception), 0);
  EXPECT_EQ(std::string(cpu_.opSystem, 5), "OS400");
  ASSERT_EQ(simulator.ItFill(cpuTable), 3u);
  int32_t cpus = 0;
  std::memcpy(&cpus, static_cast<char*>(simulator.ItGetLine(cpuTable, 3)) + 8, 4);
  EXPECT_EQ(cpus, 4);
  EXPECT_EQ(simulator.ItDelete(cpuTable), 0);

  auto infoImporting = info_.Importing(rfcsiType_);
  ASSERT_EQ(simulator.Call(handle, "RFC_SYSTEM_INFO", const_cast<RFC_PARAMETER*>(&kEndOfParameters),
                           const_cast<RFC_TABLE*>(&kEndOfTables)),
            0);
  ASSERT_EQ(simulator.Receive(handle, infoImporting.data(), const_cast<RFC_TABLE*>(&kEndOfTables), &exception), 0);
  EXPECT_EQ(std::string(info_.rfcsi + 101, 10), "DB4       ");
  EXPECT_EQ(std::string(info_.rfcsi + 45, 8), "as400a  ");
  EXPECT_EQ(std::string(info_.rfcsi + 13, 32), "DEV" + std::string(29, ' '));

  std::vector<RFC_TABLE> tables;
  for (const char* name : kDb02TableNames) tables.push_back(Table(name, missType_, simulator.ItCreate(name, 40, 0, 0)));
  tables.push_back(kEndOfTables);
  auto db02Importing = db02_.Importing(db02Type_);
  ASSERT_EQ(simulator.Call(handle, "DB02_DB4_GET_INFO", const_cast<RFC_PARAMETER*>(&kEndOfParameters), tables.data()),
            0);
  ASSERT_EQ(simulator.Receive(handle, db02Importing.data(), tables.data(), &exception), 0);
  const std::string info(db02_.info, 120);
  EXPECT_EQ(info.substr(0, 32), "DB4       20221208175418DEV     ");
  int32_t indexes = 0, views = 0;
  std::memcpy(&indexes, db02_.info + 88, 4);
  std::memcpy(&views, db02_.info + 96, 4);
  EXPECT_EQ(indexes, -2);
  EXPECT_EQ(views, 2147483647);
  EXPECT_EQ(info.substr(100, 8), std::string("\x00\x00\x00\x00\x01\x50\x00\x0D", 8));
  EXPECT_EQ(info.substr(108, 6), std::string("\x00\x00\x00\x00\x00\x0C", 6));
  for (size_t i = 0; i < 6; ++i) EXPECT_EQ(simulator.ItDelete(tables[i].ithandle), 0);
  EXPECT_FALSE(std::filesystem::exists(directory_ / "Dev_Rfc.Trc"));
}

TEST_F(MeasurementTest, InjectedCodesComeWithTheirExceptionAndTraceLines) {
  struct Case {
    std::string injection;
    RFC_RC code;
    std::string exception;
    std::string trace;
  };
  const std::vector<Case> cases = {
      {"fail.receive.GET_CPU_ALL = 1", 1, "", "ERROR       RfcReceive GET_CPU_ALL: communication failure\n"},
      {"fail.receive.GET_CPU_ALL = 2 NOT_FOUND", 2, "NOT_FOUND",
       "ERROR       RfcReceive GET_CPU_ALL: exception NOT_FOUND\n"
       "T:00001======> Exception NOT_FOUND raised by GET_CPU_ALL\n"},
      {"fail.receive.GET_CPU_ALL = 3", 3, "SYSTEM_FAILURE",
       "ERROR       RfcReceive GET_CPU_ALL: system exception SYSTEM_FAILURE\n"
       "T:00001======> System exception SYSTEM_FAILURE raised by GET_CPU_ALL\n"},
      {"fail.receive.GET_CPU_ALL = 23", 23, "", "ERROR       RfcReceive GET_CPU_ALL: failure code 23\n"},
      {"fail.call.GET_CPU_ALL = 5", 5, "", "ERROR       RfcCall GET_CPU_ALL: failure code 5\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.injection);
    std::filesystem::remove(directory_ / "Dev_Rfc.Trc");
    Write("RfcSim.txt", std::string(kDev) + c.injection + "\n");
    Simulator simulator(directory_);
    const RFC_HANDLE handle = OpenR3(simulator, "DEV");
    Install(simulator);
    ITAB_H table = simulator.ItCreate("TF_CPU_ALL", 48, 0, 0);
    char* exception = nullptr;
    EXPECT_EQ(CpuRead(simulator, handle, table, &exception), c.code);
    EXPECT_EQ(exception ? std::string(exception) : std::string(), c.exception);
    EXPECT_EQ(simulator.ItFill(table), 0u);
    EXPECT_EQ(Trace(), kHead + c.trace);
  }
}

TEST_F(MeasurementTest, AnInjectedLibraryErrorGoesThroughTheCallbackLast) {
  Write("RfcSim.txt", std::string(kDev) + "fail.callback.call.GET_CPU_ALL = connection to partner lost\n");
  Simulator simulator(directory_);
  reportingSimulator = &simulator;
  RFC_ENV environment{ClosingHandler, nullptr};
  simulator.Environment(&environment);
  const RFC_HANDLE handle = OpenR3(simulator, "DEV");
  Install(simulator);
  EXPECT_EQ(CpuRead(simulator, handle, simulator.ItCreate("TF_CPU_ALL", 48, 0, 0), nullptr), 1);
  EXPECT_EQ(handlerText, "connection to partner lost");
  RFC_ERROR_INFO info{};
  simulator.LastError(&info);
  EXPECT_STREQ(info.key, "RFC_ERROR_SYSTEM_FAILURE");
  EXPECT_STREQ(info.status, "RfcCall GET_CPU_ALL");
  EXPECT_STREQ(info.message, "connection to partner lost");
  EXPECT_STREQ(info.intstat, "injected for DEV by RfcSim.txt");
  EXPECT_EQ(Trace(), kHead + "ERROR       connection to partner lost\n");
}

TEST_F(MeasurementTest, TableAndStructureFailuresFollowTheLastLogon) {
  Write("RfcSim.txt", std::string(kDev) +
                          "fail.itcreate = MISS_VIEWS\nfail.itgetline = TF_CPU_ALL\nfail.itdelete = MISS_INDEX\n"
                          "fail.install = MISSOBJ\n");
  Simulator simulator(directory_);
  EXPECT_NE(simulator.ItCreate("MISS_VIEWS", 40, 0, 0), nullptr);
  ASSERT_NE(OpenR3(simulator, "DEV"), 0u);
  EXPECT_EQ(simulator.ItCreate("MISS_VIEWS", 40, 0, 0), nullptr);
  EXPECT_EQ(Trace(), kHead + "ERROR       ItCreate MISS_VIEWS: simulated failure\n");
  ITAB_H index = simulator.ItCreate("MISS_INDEX", 40, 0, 0);
  EXPECT_EQ(simulator.ItDelete(index), 1);
  auto missObj = MissObjDescriptors();
  RFC_TYPEHANDLE type = 0;
  EXPECT_NE(simulator.InstallStructure("MISSOBJ", missObj.data(), 1, &type), 0);
  EXPECT_EQ(type, 0u);
  RFC_ERROR_INFO info{};
  simulator.LastError(&info);
  EXPECT_STREQ(info.status, "RfcInstallStructure MISSOBJ");
}

TEST_F(MeasurementTest, MisuseOfConnectionsAndTablesIsAContractFailure) {
  Write("RfcSim.txt", kDev);
  Simulator simulator(directory_);
  const RFC_HANDLE handle = OpenR3(simulator, "DEV");
  Install(simulator);
  ::testing::internal::CaptureStderr();
  RFC_ENV withAllocator{RecordingHandler, [](void*, uint32_t) -> void* { return nullptr; }};
  simulator.Environment(&withAllocator);
  auto cpu = CpuAllDescriptors();
  RFC_TYPEHANDLE again = 0;
  EXPECT_NE(simulator.InstallStructure("CPU_ALL", cpu.data(), 13, &again), 0);
  EXPECT_EQ(simulator.Receive(handle, cpu_.Importing().data(), const_cast<RFC_TABLE*>(&kEndOfTables), nullptr), 1);
  ITAB_H table = simulator.ItCreate("TF_CPU_ALL", 48, 0, 0);
  EXPECT_EQ(simulator.ItGetLine(table, 1), nullptr);
  EXPECT_EQ(simulator.ItCreate("MISS_VIEWS", 40, 10, 0), nullptr);
  simulator.Close(0);
  EXPECT_EQ(CpuRead(simulator, handle, table, nullptr), 1);
  simulator.Close(handle);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "rfcsim: contract: RfcEnvironment: an allocator, expected none\n"
            "rfcsim: contract: RfcInstallStructure CPU_ALL: installed a second time\n"
            "rfcsim: contract: RfcReceive: no RfcCall awaits its answer on handle 1\n"
            "rfcsim: contract: ItGetLine TF_CPU_ALL: line 1, the table has 0 lines\n"
            "rfcsim: contract: ItCreate MISS_VIEWS: arguments 3 and 4 are 10 and 0, expected 0 and 0\n"
            "rfcsim: contract: RfcCall: handle 1 is not open\n"
            "rfcsim: contract: RfcClose: handle 1 is not open\n");
}

TEST_F(MeasurementTest, LatencyIsSpentAtTheLogonAndInTheRoutineThatGetsTheAnswer) {
  using Clock = std::chrono::steady_clock;
  Write("RfcSim.txt", std::string(kDev) + "latency.logon = 20\nlatency.call = 15\nfail.call.GET_CPU_ALL = 1\n");
  Simulator simulator(directory_);
  auto start = Clock::now();
  const RFC_HANDLE handle = OpenR3(simulator, "DEV", "INTRUDER    ");
  EXPECT_EQ(handle, 0u);
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(20));
  Install(simulator);
  start = Clock::now();
  EXPECT_EQ(CpuRead(simulator, OpenR3(simulator, "DEV"), simulator.ItCreate("TF_CPU_ALL", 48, 0, 0), nullptr), 1);
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(35));
}

#if GTEST_HAS_DEATH_TEST
TEST_F(MeasurementTest, ACrashEndsTheProcessAtItsStep) {
  Write("RfcSim.txt", std::string(kDev) + "crash = logon\n");
  Simulator simulator(directory_);
  EXPECT_DEATH(OpenR3(simulator, "DEV"), "");
}
#endif

TEST_F(MeasurementTest, TheProcessMustEndWithEveryConnectionClosedAndEveryTableDeleted) {
  Write("RfcSim.txt", kDev);
  Simulator simulator(directory_);
  ASSERT_NE(OpenR3(simulator, "DEV"), 0u);
  simulator.ItCreate("TF_CPU_ALL", 48, 0, 0);
  ASSERT_EQ(simulator.ItDelete(simulator.ItCreate("MISS_VIEWS", 40, 0, 0)), 0);
  ::testing::internal::CaptureStderr();
  simulator.AtProcessEnd();
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "rfcsim: contract: RfcClose: connections still open when the process ends: 1 (DEV)\n"
            "rfcsim: contract: ItDelete: tables not deleted when the process ends: TF_CPU_ALL\n");
  // The program's error report closes everything and leaves the tables.
  simulator.Close(0);
  ::testing::internal::CaptureStderr();
  simulator.AtProcessEnd();
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  simulator.ItCreate("MISS_INDEX", 40, 0, 0);
  ::testing::internal::CaptureStderr();
  simulator.AtProcessEnd();
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "rfcsim: contract: ItDelete: tables not deleted when the process ends: MISS_INDEX\n");
}

}  // namespace
}  // namespace rfcsim
