#include "contract.h"
#include "logon_contract.h"

#include <gtest/gtest.h>

#include <utility>

#include "program_side.h"

namespace rfcsim {
namespace {

using namespace rfcsim::testing;

std::string Check(const char* name, const std::vector<RFC_TYPE_ELEMENT>& elements) {
  return CheckStructure(name, elements.data(), static_cast<uint32_t>(elements.size()));
}

TEST(CheckStructure, TheFourRightDescriptorArraysPass) {
  EXPECT_EQ(Check("CPU_ALL", CpuAllDescriptors()), "");
  EXPECT_EQ(Check("RFCSI", RfcsiDescriptors()), "");
  EXPECT_EQ(Check("DB02INFDB4", Db02Descriptors()), "");
  EXPECT_EQ(Check("MISSOBJ", MissObjDescriptors()), "");
}

TEST(CheckStructure, EachKindOfDamageIsNamedExactly) {
  struct Case {
    const char* what;
    std::vector<RFC_TYPE_ELEMENT> elements;
    std::string expected;
  };
  std::vector<Case> cases;
  auto damaged = [&](const char* what, auto change, std::string expected) {
    auto elements = Db02Descriptors();
    change(elements);
    cases.push_back({what, std::move(elements), std::move(expected)});
  };
  damaged("length", [](auto& e) { e[9].length = 7; }, "structure DB02INFDB4 field IDX_SIZE length 7, expected 8");
  damaged("order", [](auto& e) { std::swap(e[15], e[16]); },
          "structure DB02INFDB4 field 16 is \"CST_MIS_DD\", expected IDX_MIS_DD");
  damaged("type", [](auto& e) { e[1].type = 0; }, "structure DB02INFDB4 field FS_A_DATE type 0, expected 1");
  damaged("decimals", [](auto& e) { e[18].decimals = 0; },
          "structure DB02INFDB4 field SYS_ASP_P decimals 0, expected 5");
  damaged("offset", [](auto& e) { e[4].offset = 32; }, "structure DB02INFDB4 field TAB_CNT offset 32, expected 0");
  damaged("missing field", [](auto& e) { e.pop_back(); }, "structure DB02INFDB4 field count 20, expected 21");
  damaged("no name", [](auto& e) { e[0].name = nullptr; }, "structure DB02INFDB4 field 1 has no name, expected DBSYS");
  damaged("name case", [](auto& e) { e[3].name = "sysid"; },
          "structure DB02INFDB4 field 4 is \"sysid\", expected SYSID");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Check("DB02INFDB4", c.elements), c.expected);
  }
  EXPECT_EQ(Check("CPUALL", CpuAllDescriptors()), "unknown structure \"CPUALL\"");
  EXPECT_EQ(CheckStructure("MISSOBJ", nullptr, 1), "structure MISSOBJ has no field descriptors");
}

class ParameterContract : public ::testing::Test {
 protected:
  static constexpr RFC_TYPEHANDLE kRfcsi = 101;
  TypeHandleOf handles_ = [](std::string_view structure) -> RFC_TYPEHANDLE {
    return structure == "RFCSI" ? kRfcsi : 0;
  };
  CpuCall cpu_;
  SystemInfoCall info_;
};

TEST_F(ParameterContract, RightArraysPass) {
  const auto* cpu = FindFunction("GET_CPU_ALL");
  EXPECT_EQ(CheckParameters("exporting", cpu->exporting, cpu_.Exporting().data(), handles_), "");
  EXPECT_EQ(CheckParameters("importing", cpu->importing, cpu_.Importing().data(), handles_), "");
  const auto* info = FindFunction("RFC_SYSTEM_INFO");
  EXPECT_EQ(CheckParameters("importing", info->importing, info_.Importing(kRfcsi).data(), handles_), "");
  EXPECT_EQ(CheckParameters("exporting", info->exporting, &kEndOfParameters, handles_), "");
}

TEST_F(ParameterContract, EachKindOfDamageIsNamedExactly) {
  const auto* cpu = FindFunction("GET_CPU_ALL");
  struct Case {
    const char* what;
    std::vector<RFC_PARAMETER> given;
    std::string expected;
  };
  std::vector<Case> cases;
  auto damaged = [&](const char* what, auto change, std::string expected) {
    auto given = cpu_.Exporting();
    change(given);
    cases.push_back({what, std::move(given), std::move(expected)});
  };
  damaged("length", [](auto& p) { p[0].leng = 5; }, "exporting parameter LOCAL_REMOTE length 5, expected 6");
  damaged("name length", [](auto& p) { p[1].nlen = 18; },
          "exporting parameter LOGICAL_DESTINATION name length 18, expected 19");
  damaged("type", [](auto& p) { p[0].type = 8; }, "exporting parameter LOCAL_REMOTE type 8, expected 0");
  damaged("order", [](auto& p) { std::swap(p[0], p[1]); },
          "exporting parameter 1 is \"LOGICAL_DESTINATION\", expected LOCAL_REMOTE");
  damaged("early terminator", [](auto& p) { p[1] = kEndOfParameters; },
          "exporting parameter 2 is the terminator, expected LOGICAL_DESTINATION");
  damaged("missing terminator", [](auto& p) { p[2] = p[1]; },
          "exporting parameter 3 is \"LOGICAL_DESTINATION\", expected the terminator");
  damaged("address", [](auto& p) { p[1].addr = nullptr; }, "exporting parameter LOGICAL_DESTINATION has no address");
  damaged("value", [](auto& p) { static char local[6] = {'L', 'O', 'C', 'A', 'L', '\0'}; p[0].addr = local; },
          "exporting parameter LOCAL_REMOTE value \"LOCAL\\x00\", expected \"LOCAL \"");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(CheckParameters("exporting", cpu->exporting, c.given.data(), handles_), c.expected);
  }
}

TEST_F(ParameterContract, StructureParametersCarryTheInstalledTypeHandle) {
  const auto* info = FindFunction("RFC_SYSTEM_INFO");
  EXPECT_EQ(CheckParameters("importing", info->importing, info_.Importing(0).data(), handles_),
            "importing parameter RFCSI_EXPORT type 0, expected 101 (the type handle of RFCSI)");
  const TypeHandleOf none = [](std::string_view) -> RFC_TYPEHANDLE { return 0; };
  EXPECT_EQ(CheckParameters("importing", info->importing, info_.Importing(kRfcsi).data(), none),
            "importing parameter RFCSI_EXPORT type 101, expected the type handle of RFCSI, which is not installed");
}

TEST_F(ParameterContract, ImportingBuffersMustNotShareMemory) {
  const auto* cpu = FindFunction("GET_CPU_ALL");
  auto given = cpu_.Importing();
  given[9].addr = cpu_.lastCollWrt + 20;
  EXPECT_EQ(CheckParameters("importing", cpu->importing, given.data(), handles_),
            "importing parameters LASTCOLLWRT and OP_SYSTEM share memory");
}

TEST(TableContract, TablesNeedTheRowTypeAndATableOfTheRightNameAndLength) {
  SimulatedTables tables;
  const TypeHandleOf handles = [](std::string_view structure) -> RFC_TYPEHANDLE {
    return structure == "CPU_ALL" ? 100 : 0;
  };
  const auto* cpu = FindFunction("GET_CPU_ALL");
  auto check = [&](const RFC_TABLE& table) {
    const RFC_TABLE array[] = {table, kEndOfTables};
    return CheckTables(cpu->tables, array, handles, tables);
  };
  void* right = tables.Create("TF_CPU_ALL", 48);
  EXPECT_EQ(check(Table("TF_CPU_ALL", 100, right)), "");
  EXPECT_EQ(check(Table("TF_CPU_ALL", 7, right)), "table TF_CPU_ALL type 7, expected 100 (the type handle of CPU_ALL)");
  EXPECT_EQ(check(Table("TF_CPU_ALL", 100, tables.Create("TF_CPU_ALL", 40))),
            "table TF_CPU_ALL row length 40, expected 48");
  EXPECT_EQ(check(Table("TF_CPU_ALL", 100, tables.Create("MISS_VIEWS", 48))),
            "table TF_CPU_ALL carries the table created as \"MISS_VIEWS\"");
  int stranger = 0;
  EXPECT_EQ(check(Table("TF_CPU_ALL", 100, &stranger)), "table TF_CPU_ALL carries no table handle from ItCreate");
  // Only name, name length, row type and table handle are the program's to set.
  const std::pair<void (*)(RFC_TABLE&), std::string> filledIn[] = {
      {[](RFC_TABLE& table) { table.nlen = 9; }, "table TF_CPU_ALL name length 9, expected 10"},
      {[](RFC_TABLE& table) { table.leng = 48; }, "table TF_CPU_ALL leng 48, expected 0"},
      {[](RFC_TABLE& table) { table.itmode = 1; }, "table TF_CPU_ALL itmode 1, expected 0"},
      {[](RFC_TABLE& table) { table.newitab = 1; }, "table TF_CPU_ALL newitab 1, expected 0"},
  };
  for (const auto& [fill, expected] : filledIn) {
    RFC_TABLE table = Table("TF_CPU_ALL", 100, right);
    fill(table);
    EXPECT_EQ(check(table), expected);
  }
  const RFC_TABLE twice[] = {Table("TF_CPU_ALL", 100, right), Table("TF_CPU_ALL", 100, right), kEndOfTables};
  EXPECT_EQ(CheckTables(cpu->tables, twice, handles, tables), "table 2 is \"TF_CPU_ALL\", expected the terminator");
  EXPECT_EQ(CheckTables(cpu->tables, &kEndOfTables, handles, tables),
            "table 1 is the terminator, expected TF_CPU_ALL");
}

TEST(LogonContract, PaddingAndGatewayRecordsAreCheckedWithoutRefusingSoundValues) {
  struct Case {
    const char* what;
    int32_t mode;
    const char* user;
    const char* password;
    const char* gatewayHost;
    const char* gatewayService;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"sound R/3", 0, "MONITOR     ", "secret    ", "qas-gw01", "sapgw00", ""},
      {"sound R/2", 1, "MONITOR     ", "secret    ", "qas-gw01", "3300", ""},
      {"long values unchanged", 1, "MONITORINGUSER", "a long passphrase", nullptr, nullptr, ""},
      {"own trailing blank", 1, "MONITORINGUSR ", "passphrase ", "10.1.2.3", "sapgw01", ""},
      {"user padded to 20", 0, "MONITOR             ", "secret    ", nullptr, nullptr,
       "user field of 20 characters, blank-padded beyond 12"},
      {"password padded to 12", 0, "MONITOR     ", "secret      ", nullptr, nullptr,
       "password field blank-padded beyond 10"},
      {"R/2 swapped", 1, "MONITOR     ", "secret    ", "sapgw00", "qas-gw01", "gateway host \"sapgw00\" is named like "
       "a service, gateway service \"qas-gw01\" is not: host and service swapped?"},
      {"R/3 swapped", 0, "MONITOR     ", "secret    ", "3300", nullptr,
       "gateway host \"3300\" is named like a service, gateway service none is not: host and service swapped?"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    RFC_CONNOPT_R3 server{nullptr, 0, const_cast<char*>(c.gatewayHost), const_cast<char*>(c.gatewayService)};
    RFC_CONNOPT_R2 gateway{const_cast<char*>(c.gatewayHost), const_cast<char*>(c.gatewayService)};
    void* connection = c.mode == 0 ? static_cast<void*>(&server) : static_cast<void*>(&gateway);
    RFC_OPTIONS options{const_cast<char*>("QAS"), c.mode,      connection, const_cast<char*>("100"),
                        const_cast<char*>(c.user), const_cast<char*>(c.password), const_cast<char*>("E"), 0};
    EXPECT_EQ(CheckOpenOptions(&options), c.expected);
  }
}

TEST(LogonContract, TheConnectStringCarriesUserAndPasswordUnpadded) {
  const auto check = [](const char* text) { return CheckConnectStringValues(*ParseConnectString(text)); };
  EXPECT_EQ(check("CLIENT=100 USER=MONITOR PASSWD=secret LANG=D DEST=QAS"), "");
  EXPECT_EQ(check("CLIENT=100 USER=MONITOR  PASSWD=pass phrase  LANG=D DEST=QAS"), "");
  EXPECT_EQ(check("CLIENT=100 USER=MONITOR      PASSWD=secret LANG=D DEST=QAS"),
            "connect string USER blank-padded to 12, expected the profile's value as it stands");
  EXPECT_EQ(check("CLIENT=100 USER=MONITOR PASSWD=secret     LANG=D DEST=QAS"),
            "connect string PASSWD blank-padded to 10, expected the profile's value as it stands");
}

}  // namespace
}  // namespace rfcsim
