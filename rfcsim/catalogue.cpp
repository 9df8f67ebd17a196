#include "catalogue.h"

#include <array>

#include "rfc_abi.h"

namespace rfcsim {
namespace {

constexpr uint32_t C = RFCTYPE_CHAR;
constexpr uint32_t D = RFCTYPE_DATE;
constexpr uint32_t P = RFCTYPE_BCD;
constexpr uint32_t T = RFCTYPE_TIME;
constexpr uint32_t I = RFCTYPE_INT;
constexpr uint32_t S = RFCTYPE_INT2;

constexpr std::array<FieldSpec, 13> kCpuAll = {{
    {"TYPE", S, 2, 0, 0, "0"},
    {"SUBTYPE", S, 2, 0, 2, "0"},
    {"SERIALNR", S, 2, 0, 4, "0"},
    {"NBR_CPU", I, 4, 0, 8, "1"},
    {"LOAD1_AVG", I, 4, 0, 12, "0"},
    {"LOAD5_AVG", I, 4, 0, 16, "0"},
    {"LOAD15_AVG", I, 4, 0, 20, "0"},
    {"INT_SEC", I, 4, 0, 24, "0"},
    {"SYSC_SEC", I, 4, 0, 28, "0"},
    {"CS_SEC", I, 4, 0, 32, "0"},
    {"USR_TOTAL", I, 4, 0, 36, "0"},
    {"SYS_TOTAL", I, 4, 0, 40, "0"},
    {"IDLE_TOTAL", I, 4, 0, 44, "100"},
}};

// RFCHOST, RFCDEST and RFCSYSID default to the system's own host and
// destination; the description reader fills those in.
constexpr std::array<FieldSpec, 18> kRfcsi = {{
    {"RFCPROTO", C, 3, 0, 0, "011"},
    {"RFCCHARTYP", C, 4, 0, 3, "1100"},
    {"RFCINTTYP", C, 3, 0, 7, "LIT"},
    {"RFCFLOTYP", C, 3, 0, 10, "IE3"},
    {"RFCDEST", C, 32, 0, 13, ""},
    {"RFCHOST", C, 8, 0, 45, ""},
    {"RFCSYSID", C, 8, 0, 53, ""},
    {"RFCDATABS", C, 8, 0, 61, ""},
    {"RFCDBHOST", C, 32, 0, 69, ""},
    {"RFCDBSYS", C, 10, 0, 101, "DB4"},
    {"RFCSAPRL", C, 4, 0, 111, "700"},
    {"RFCMACH", C, 5, 0, 115, "324"},
    {"RFCOPSYS", C, 10, 0, 120, "OS400"},
    {"RFCTZONE", C, 6, 0, 130, "3600"},
    {"RFCDAYST", C, 1, 0, 136, ""},
    {"RFCIPADDR", C, 15, 0, 137, ""},
    {"RFCKERNRL", C, 4, 0, 152, "700"},
    {"RFCSI_RESV", C, 44, 0, 156, ""},
}};

// SYSID defaults to the destination; the description reader fills it in.
constexpr std::array<FieldSpec, 21> kDb02InfDb4 = {{
    {"DBSYS", C, 10, 0, 0, "DB4"},
    {"FS_A_DATE", D, 8, 0, 10, "00000000"},
    {"FS_A_TIME", T, 6, 0, 18, "000000"},
    {"SYSID", C, 8, 0, 24, ""},
    {"TAB_CNT", I, 4, 0, 32, "0"},
    {"CST_CNT", I, 4, 0, 36, "0"},
    {"IDX_CNT", I, 4, 0, 40, "0"},
    {"TAB_SIZE", P, 8, 0, 44, "0"},
    {"CST_SIZE", P, 8, 0, 52, "0"},
    {"IDX_SIZE", P, 8, 0, 60, "0"},
    {"TAB_MIS_DB", I, 4, 0, 68, "0"},
    {"CST_MIS_DB", I, 4, 0, 72, "0"},
    {"IDX_MIS_DB", I, 4, 0, 76, "0"},
    {"VIE_MIS_DB", I, 4, 0, 80, "0"},
    {"TAB_MIS_DD", I, 4, 0, 84, "0"},
    {"IDX_MIS_DD", I, 4, 0, 88, "0"},
    {"CST_MIS_DD", I, 4, 0, 92, "0"},
    {"VIE_MIS_DD", I, 4, 0, 96, "0"},
    {"SYS_ASP_P", P, 8, 5, 100, "0"},
    {"SYS_ASP_S", P, 6, 1, 108, "0"},
    {"ASP_TOT_S", P, 6, 1, 114, "0"},
}};

constexpr std::array<FieldSpec, 1> kMissObj = {{
    {"NAME", C, 40, 0, 0, ""},
}};

constexpr std::array<StructureSpec, 4> kStructures = {{
    {"CPU_ALL", 48, kCpuAll},
    {"RFCSI", 200, kRfcsi},
    {"DB02INFDB4", 120, kDb02InfDb4},
    {"MISSOBJ", 40, kMissObj},
}};

constexpr std::array<ParameterSpec, 2> kCpuExporting = {{
    {{"LOCAL_REMOTE", C, 6, 0, 0, "LOCAL "}, ""},
    {{"LOGICAL_DESTINATION", C, 32, 0, 0, "                                "}, ""},
}};

constexpr std::array<ParameterSpec, 10> kCpuImporting = {{
    {{"ACTIVEFLAG", I, 4, 0, 0, "1"}, ""},
    {{"DETAILSCOLL", I, 4, 0, 0, "0"}, ""},
    {{"DETAILSMODE", I, 4, 0, 0, "0"}, ""},
    {{"DETAILSREQI", I, 4, 0, 0, "0"}, ""},
    {{"F_CPU_ALL_READ", C, 3, 0, 0, "X"}, ""},
    {{"INTERVAL", I, 4, 0, 0, "10"}, ""},
    {{"LASTCOLLINT", I, 4, 0, 0, "10"}, ""},
    {{"LASTCOLLWRT", C, 25, 0, 0, "20221208175418"}, ""},
    {{"NORMCOLLINT", I, 4, 0, 0, "10"}, ""},
    {{"OP_SYSTEM", C, 52, 0, 0, "OS400"}, ""},
}};

constexpr std::array<TableSpec, 1> kCpuTables = {{
    {"TF_CPU_ALL", "CPU_ALL", 48},
}};

constexpr std::array<ParameterSpec, 6> kSystemInfoImporting = {{
    {{"CURRENT_RESOURCES", I, 4, 0, 0, "5"}, ""},
    {{"DIALOG_USER_TYPE", C, 1, 0, 0, ""}, ""},
    {{"MAXIMAL_RESOURCES", I, 4, 0, 0, "10"}, ""},
    {{"RECOMMENDED_DELAY", I, 4, 0, 0, "0"}, ""},
    {{"RFCSI_EXPORT", 0, 200, 0, 0, ""}, "RFCSI"},
    {{"RFC_LOGIN_COMPLETE", C, 1, 0, 0, "X"}, ""},
}};

constexpr std::array<ParameterSpec, 2> kDb02Importing = {{
    {{"API_QWCRSSTS_RC", I, 4, 0, 0, "0"}, ""},
    {{"DB02_DISPLAYED_INFO", 0, 120, 0, 0, ""}, "DB02INFDB4"},
}};

constexpr std::array<TableSpec, 6> kDb02Tables = {{
    {"ADDTL_INDEX", "MISSOBJ", 40},
    {"ADDTL_TABLES", "MISSOBJ", 40},
    {"ADDTL_VIEWS", "MISSOBJ", 40},
    {"MISS_INDEX", "MISSOBJ", 40},
    {"MISS_TABLES", "MISSOBJ", 40},
    {"MISS_VIEWS", "MISSOBJ", 40},
}};

constexpr std::array<FunctionSpec, 3> kFunctions = {{
    {"GET_CPU_ALL", kCpuExporting, kCpuImporting, kCpuTables},
    {"RFC_SYSTEM_INFO", {}, kSystemInfoImporting, {}},
    {"DB02_DB4_GET_INFO", {}, kDb02Importing, kDb02Tables},
}};

const FieldSpec* FindIn(std::span<const FieldSpec> fields, std::string_view name) {
  for (const FieldSpec& field : fields) {
    if (field.name == name) return &field;
  }
  return nullptr;
}

}  // namespace

std::span<const StructureSpec> Structures() { return kStructures; }
std::span<const FunctionSpec> Functions() { return kFunctions; }

const StructureSpec* FindStructure(std::string_view name) {
  for (const StructureSpec& structure : kStructures) {
    if (structure.name == name) return &structure;
  }
  return nullptr;
}

const FunctionSpec* FindFunction(std::string_view name) {
  for (const FunctionSpec& function : kFunctions) {
    if (function.name == name) return &function;
  }
  return nullptr;
}

const FieldSpec* FindValueSpec(std::string_view upperName) {
  for (const StructureSpec& structure : kStructures) {
    if (structure.name == "MISSOBJ") continue;
    if (const FieldSpec* field = FindIn(structure.fields, upperName)) return field;
  }
  for (const FunctionSpec& function : kFunctions) {
    for (const ParameterSpec& parameter : function.importing) {
      if (parameter.structure.empty() && parameter.field.name == upperName) return &parameter.field;
    }
  }
  return nullptr;
}

}  // namespace rfcsim
