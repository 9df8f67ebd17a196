#pragma once
// What a well-behaved caller hands to the library, written out by hand from
// the interface tables, so that the tests do not check the simulator's
// tables against themselves. Tests damage copies of these on purpose.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "rfc_abi.h"
#include "simulator.h"

namespace rfcsim::testing {

inline std::vector<RFC_TYPE_ELEMENT> CpuAllDescriptors() {
  return {{"TYPE", 9, 2, 0, 0},       {"SUBTYPE", 9, 2, 0, 0},   {"SERIALNR", 9, 2, 0, 0},  {"NBR_CPU", 8, 4, 0, 0},
          {"LOAD1_AVG", 8, 4, 0, 0},  {"LOAD5_AVG", 8, 4, 0, 0}, {"LOAD15_AVG", 8, 4, 0, 0}, {"INT_SEC", 8, 4, 0, 0},
          {"SYSC_SEC", 8, 4, 0, 0},   {"CS_SEC", 8, 4, 0, 0},    {"USR_TOTAL", 8, 4, 0, 0}, {"SYS_TOTAL", 8, 4, 0, 0},
          {"IDLE_TOTAL", 8, 4, 0, 0}};
}

inline std::vector<RFC_TYPE_ELEMENT> RfcsiDescriptors() {
  return {{"RFCPROTO", 0, 3, 0, 0},  {"RFCCHARTYP", 0, 4, 0, 0}, {"RFCINTTYP", 0, 3, 0, 0},  {"RFCFLOTYP", 0, 3, 0, 0},
          {"RFCDEST", 0, 32, 0, 0},  {"RFCHOST", 0, 8, 0, 0},    {"RFCSYSID", 0, 8, 0, 0},   {"RFCDATABS", 0, 8, 0, 0},
          {"RFCDBHOST", 0, 32, 0, 0}, {"RFCDBSYS", 0, 10, 0, 0},  {"RFCSAPRL", 0, 4, 0, 0},   {"RFCMACH", 0, 5, 0, 0},
          {"RFCOPSYS", 0, 10, 0, 0}, {"RFCTZONE", 0, 6, 0, 0},   {"RFCDAYST", 0, 1, 0, 0},   {"RFCIPADDR", 0, 15, 0, 0},
          {"RFCKERNRL", 0, 4, 0, 0}, {"RFCSI_RESV", 0, 44, 0, 0}};
}

inline std::vector<RFC_TYPE_ELEMENT> Db02Descriptors() {
  return {{"DBSYS", 0, 10, 0, 0},     {"FS_A_DATE", 1, 8, 0, 0},  {"FS_A_TIME", 3, 6, 0, 0},  {"SYSID", 0, 8, 0, 0},
          {"TAB_CNT", 8, 4, 0, 0},    {"CST_CNT", 8, 4, 0, 0},    {"IDX_CNT", 8, 4, 0, 0},    {"TAB_SIZE", 2, 8, 0, 0},
          {"CST_SIZE", 2, 8, 0, 0},   {"IDX_SIZE", 2, 8, 0, 0},   {"TAB_MIS_DB", 8, 4, 0, 0}, {"CST_MIS_DB", 8, 4, 0, 0},
          {"IDX_MIS_DB", 8, 4, 0, 0}, {"VIE_MIS_DB", 8, 4, 0, 0}, {"TAB_MIS_DD", 8, 4, 0, 0}, {"IDX_MIS_DD", 8, 4, 0, 0},
          {"CST_MIS_DD", 8, 4, 0, 0}, {"VIE_MIS_DD", 8, 4, 0, 0}, {"SYS_ASP_P", 2, 8, 5, 0},  {"SYS_ASP_S", 2, 6, 1, 0},
          {"ASP_TOT_S", 2, 6, 1, 0}};
}

inline std::vector<RFC_TYPE_ELEMENT> MissObjDescriptors() { return {{"NAME", 0, 40, 0, 0}}; }

inline RFC_PARAMETER Parameter(const char* name, uint32_t type, uint32_t length, void* address) {
  return {name, static_cast<uint32_t>(std::strlen(name)), type, length, address};
}

inline RFC_TABLE Table(const char* name, uint32_t rowType, ITAB_H handle) {
  return {name, static_cast<uint32_t>(std::strlen(name)), rowType, 0, handle, 0, 0};
}

inline constexpr RFC_PARAMETER kEndOfParameters{nullptr, 0, 0, 0, nullptr};
inline constexpr RFC_TABLE kEndOfTables{nullptr, 0, 0, 0, nullptr, 0, 0};

// The values GET_CPU_ALL sends and receives, with their parameter arrays.
struct CpuCall {
  char localRemote[6];
  char logicalDestination[32];
  int32_t activeFlag = 0, detailsColl = 0, detailsMode = 0, detailsReqi = 0;
  char readFlag[3];
  int32_t interval = 0, lastCollInt = 0;
  char lastCollWrt[25];
  int32_t normCollInt = 0;
  char opSystem[52];

  CpuCall() {
    std::memcpy(localRemote, "LOCAL ", 6);
    std::memset(logicalDestination, ' ', sizeof logicalDestination);
  }
  std::vector<RFC_PARAMETER> Exporting() {
    return {Parameter("LOCAL_REMOTE", 0, 6, localRemote), Parameter("LOGICAL_DESTINATION", 0, 32, logicalDestination),
            kEndOfParameters};
  }
  std::vector<RFC_PARAMETER> Importing() {
    return {Parameter("ACTIVEFLAG", 8, 4, &activeFlag),   Parameter("DETAILSCOLL", 8, 4, &detailsColl),
            Parameter("DETAILSMODE", 8, 4, &detailsMode), Parameter("DETAILSREQI", 8, 4, &detailsReqi),
            Parameter("F_CPU_ALL_READ", 0, 3, readFlag),  Parameter("INTERVAL", 8, 4, &interval),
            Parameter("LASTCOLLINT", 8, 4, &lastCollInt), Parameter("LASTCOLLWRT", 0, 25, lastCollWrt),
            Parameter("NORMCOLLINT", 8, 4, &normCollInt), Parameter("OP_SYSTEM", 0, 52, opSystem),
            kEndOfParameters};
  }
};

struct SystemInfoCall {
  int32_t current = 0;
  char dialogUserType[1];
  int32_t maximal = 0, delay = 0;
  char rfcsi[200];
  char loginComplete[1];

  std::vector<RFC_PARAMETER> Importing(RFC_TYPEHANDLE rfcsiType) {
    return {Parameter("CURRENT_RESOURCES", 8, 4, &current),  Parameter("DIALOG_USER_TYPE", 0, 1, dialogUserType),
            Parameter("MAXIMAL_RESOURCES", 8, 4, &maximal),  Parameter("RECOMMENDED_DELAY", 8, 4, &delay),
            Parameter("RFCSI_EXPORT", rfcsiType, 200, rfcsi), Parameter("RFC_LOGIN_COMPLETE", 0, 1, loginComplete),
            kEndOfParameters};
  }
};

struct Db02Call {
  int32_t apiRc = 0;
  char info[120];

  std::vector<RFC_PARAMETER> Importing(RFC_TYPEHANDLE infoType) {
    return {Parameter("API_QWCRSSTS_RC", 8, 4, &apiRc), Parameter("DB02_DISPLAYED_INFO", infoType, 120, info),
            kEndOfParameters};
  }
};

inline const char* const kDb02TableNames[] = {"ADDTL_INDEX", "ADDTL_TABLES", "ADDTL_VIEWS",
                                              "MISS_INDEX",  "MISS_TABLES",  "MISS_VIEWS"};

}  // namespace rfcsim::testing
