#include "checks/system_info_check.h"

#include "checks/field_descriptors.h"
#include "checks/received_text.h"

namespace tavorine {

namespace {

constexpr std::uint32_t kRfcsiLength = 200;
constexpr std::size_t kRfcDbSysPosition = 101, kRfcDbSysLength = 10;

FieldDescriptors RfcsiFields() {
  return Characters({{"RFCPROTO", 3}, {"RFCCHARTYP", 4}, {"RFCINTTYP", 3}, {"RFCFLOTYP", 3}, {"RFCDEST", 32},
                     {"RFCHOST", 8}, {"RFCSYSID", 8}, {"RFCDATABS", 8}, {"RFCDBHOST", 32}, {"RFCDBSYS", 10},
                     {"RFCSAPRL", 4}, {"RFCMACH", 5}, {"RFCOPSYS", 10}, {"RFCTZONE", 6}, {"RFCDAYST", 1},
                     {"RFCIPADDR", 15}, {"RFCKERNRL", 4}, {"RFCSI_RESV", 44}});
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

CallOutcome SystemInfoCheck(RfcSession& session, RFC_HANDLE handle, std::string& databaseSystem) {
  SystemInfoImports in;
  CallOutcome outcome;
  outcome.code = CallRfcSystemInfo(session, handle, in, outcome.exception);
  if (outcome.Succeeded()) databaseSystem = ReceivedText(in.RFCSI_EXPORT, kRfcDbSysPosition, kRfcDbSysLength);
  return outcome;
}

}  // namespace tavorine
