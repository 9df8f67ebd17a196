#include "checks/cpu_read.h"

#include "checks/field_descriptors.h"

namespace tavorine {

namespace {

constexpr std::uint32_t kCpuAllRowLength = 48;

FieldDescriptors CpuAllFields() {
  return Joined({SameType(TYPINT2, 2, {"TYPE", "SUBTYPE", "SERIALNR"}),
                 SameType(TYPINT, 4, {"NBR_CPU", "LOAD1_AVG", "LOAD5_AVG", "LOAD15_AVG", "INT_SEC", "SYSC_SEC",
                                      "CS_SEC", "USR_TOTAL", "SYS_TOTAL", "IDLE_TOTAL"})});
}

// What GET_CPU_ALL sends back besides its table; received and not used.
struct CpuAllImports {
  std::int32_t ACTIVEFLAG = 0, DETAILSCOLL = 0, DETAILSMODE = 0, DETAILSREQI = 0;
  char F_CPU_ALL_READ[3]{};
  std::int32_t INTERVAL = 0, LASTCOLLINT = 0;
  char LASTCOLLWRT[25]{};
  std::int32_t NORMCOLLINT = 0;
  char OP_SYSTEM[52]{};
};

RFC_RC CallGetCpuAll(RfcSession& session, RFC_HANDLE handle, const InternalTable& cpuTable, std::string& exception) {
  const RFC_TYPEHANDLE cpuAll = session.Structure("CPU_ALL", CpuAllFields());
  char localRemote[] = "LOCAL ";
  char logicalDestination[33] = "                                ";
  RFC_PARAMETER exporting[] = {
      {"LOCAL_REMOTE", 12, TYPC, 6, localRemote},
      {"LOGICAL_DESTINATION", 19, TYPC, 32, logicalDestination},
      {nullptr, 0, 0, 0, nullptr},
  };
  CpuAllImports in;
  RFC_PARAMETER importing[] = {
      {"ACTIVEFLAG", 10, TYPINT, 4, &in.ACTIVEFLAG},   {"DETAILSCOLL", 11, TYPINT, 4, &in.DETAILSCOLL},
      {"DETAILSMODE", 11, TYPINT, 4, &in.DETAILSMODE}, {"DETAILSREQI", 11, TYPINT, 4, &in.DETAILSREQI},
      {"F_CPU_ALL_READ", 14, TYPC, 3, in.F_CPU_ALL_READ}, {"INTERVAL", 8, TYPINT, 4, &in.INTERVAL},
      {"LASTCOLLINT", 11, TYPINT, 4, &in.LASTCOLLINT}, {"LASTCOLLWRT", 11, TYPC, 25, in.LASTCOLLWRT},
      {"NORMCOLLINT", 11, TYPINT, 4, &in.NORMCOLLINT}, {"OP_SYSTEM", 9, TYPC, 52, in.OP_SYSTEM},
      {nullptr, 0, 0, 0, nullptr},
  };
  RFC_TABLE tables[] = {
      {"TF_CPU_ALL", 10, cpuAll, 0, cpuTable.Handle(), 0, 0},
      {nullptr, 0, 0, 0, nullptr, 0, 0},
  };
  return session.CallAndReceive(handle, "GET_CPU_ALL", exporting, importing, tables, exception);
}

}  // namespace

CallOutcome CpuRead(RfcSession& session, RFC_HANDLE handle) {
  InternalTable cpuTable(session, "TF_CPU_ALL", kCpuAllRowLength);
  CallOutcome outcome;
  outcome.code = CallGetCpuAll(session, handle, cpuTable, outcome.exception);
  if (outcome.Succeeded()) cpuTable.FetchAllLines();
  cpuTable.Delete();
  return outcome;
}

}  // namespace tavorine
