#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "output/run_failure.h"

namespace tavorine {

// The steps of one system's check, in their order; Done once all succeeded.
enum class CheckStep { Logon, CpuRead, SystemInfo, DatabaseTest, MissingObjects, Done };

// The name a message gives the step the run waited at: "logon" or the
// function module's.
std::string_view StepName(CheckStep step);

// The dictionary state that DB02_DB4_GET_INFO reports and the document shows.
struct DictionaryState {
  std::string DBSYS;      // trailing blanks removed
  std::string FS_A_DATE;  // 8 characters as received
  std::string FS_A_TIME;  // 6 characters as received
  std::string SYSID;      // 8 characters, blanks kept
  std::int32_t TAB_MIS_DD = 0;
  std::int32_t IDX_MIS_DD = 0;
  std::int32_t CST_MIS_DD = 0;
  std::int32_t VIE_MIS_DD = 0;
};

// What one system's check gave, on every road alike: in a single run, in a
// group run that checks one system after the other, and in a worker. The
// texts a run shows are made from it (check_report.h).
struct SystemOutcome {
  CheckStep failedAt = CheckStep::Done;
  bool throughSapRfcIni = false;  // the logon's road: RfcOpenEx after copying SapRfc.<destination>
  // Why the library was not even asked to log on, when that has a message
  // of its own: SapRfc.<destination> too large, SapRfc.ini locked too long.
  std::optional<RunFailure> logonFailure;
  std::int32_t callCode = 0;   // of the call that failed
  std::string exception;       // its exception text, for codes 2 and 3
  std::string databaseSystem;  // RFCDBSYS, once RFC_SYSTEM_INFO answered
  DictionaryState dictionary;  // once DB02_DB4_GET_INFO answered
};

}  // namespace tavorine
