#include "checks/system_info_check.h"

#include "checks/received_text.h"

namespace tavorine {

namespace {

constexpr std::uint32_t kRfcsiLength = 200;
constexpr std::size_t kRfcDbSysPosition = 101, kRfcDbSysLength = 10;

std::vector<RFC_TYPE_ELEMENT> RfcsiFields() {
  return {
      {"RFCPROTO", TYPC, 3, 0, 0},   {"RFCCHARTYP", TYPC, 4, 0, 0}, {"RFCINTTYP", TYPC, 3, 0, 0},
      {"RFCFLOTYP", TYPC, 3, 0, 0},  {"RFCDEST", TYPC, 32, 0, 0},   {"RFCHOST", TYPC, 8, 0, 0},
      {"RFCSYSID", TYPC, 8, 0, 0},   {"RFCDATABS", TYPC, 8, 0, 0},  {"RFCDBHOST", TYPC, 32, 0, 0},
      {"RFCDBSYS", TYPC, 10, 0, 0},  {"RFCSAPRL", TYPC, 4, 0, 0},   {"RFCMACH", TYPC, 5, 0, 0},
      {"RFCOPSYS", TYPC, 10, 0, 0},  {"RFCTZONE", TYPC, 6, 0, 0},   {"RFCDAYST", TYPC, 1, 0, 0},
      {"RFCIPADDR", TYPC, 15, 0, 0}, {"RFCKERNRL", TYPC, 4, 0, 0},  {"RFCSI_RESV", TYPC, 44, 0, 0},
  };
}

struct SystemInfoImports {
  std::int32_t CURRENT_RESOURCES = 0;
  char DIALOG_USER_TYPE = ' ';
  std::int32_t MAXIMAL_RESOURCES = 0, RECOMMENDED_DELAY = 0;
  unsigned char RFCSI_EXPORT[kRfcsiLength]{};
  char RFC_LOGIN_COMPLETE = ' ';
};

RFC_RC CallRfcSystemInfo(RfcSession& session, RFC_HANDLE handle, SystemInfoImports& in, std::string& exception) {
  const RFC_TYPEHANDLE rfcsi = session.Structure("RFCSI", RfcsiFields());
  RFC_PARAMETER nothing[] = {{nullptr, 0, 0, 0, nullptr}};
  RFC_TABLE noTables[] = {{nullptr, 0, 0, 0, nullptr, 0, 0}};
  RFC_PARAMETER importing[] = {
      {"CURRENT_RESOURCES", 17, TYPINT, 4, &in.CURRENT_RESOURCES},
      {"DIALOG_USER_TYPE", 16, TYPC, 1, &in.DIALOG_USER_TYPE},
      {"MAXIMAL_RESOURCES", 17, TYPINT, 4, &in.MAXIMAL_RESOURCES},
      {"RECOMMENDED_DELAY", 17, TYPINT, 4, &in.RECOMMENDED_DELAY},
      {"RFCSI_EXPORT", 12, rfcsi, kRfcsiLength, in.RFCSI_EXPORT},
      {"RFC_LOGIN_COMPLETE", 18, TYPC, 1, &in.RFC_LOGIN_COMPLETE},
      {nullptr, 0, 0, 0, nullptr},
  };
  return session.CallAndReceive(handle, "RFC_SYSTEM_INFO", nothing, importing, noTables, exception);
}

}  // namespace

RFC_RC SystemInfoCheck(RfcSession& session, RFC_HANDLE handle, CallState& state, SystemInfo& info) {
  SystemInfoImports in;
  std::string exception;
  const RFC_RC code = CallRfcSystemInfo(session, handle, in, exception);
  if (ClassifyCallOutcome(code, exception, state)) {
    info.DatabaseSystem = ReceivedText(in.RFCSI_EXPORT, kRfcDbSysPosition, kRfcDbSysLength);
  }
  return code;
}

bool IsDb4(const std::string& databaseSystem) { return databaseSystem.starts_with("DB4"); }

}  // namespace tavorine
