#include "checks/system_check.h"

#include "checks/cpu_read.h"
#include "checks/missing_objects_check.h"
#include "checks/system_info_check.h"

namespace tavorine {

namespace {

// Takes a call's outcome into the system's; false when the check stops there.
bool Answered(const CallOutcome& call, SystemOutcome& outcome) {
  outcome.callCode = call.code;
  outcome.exception = call.exception;
  return call.Succeeded();
}

}  // namespace

bool IsDb4(std::string_view databaseSystem) { return databaseSystem.starts_with("DB4"); }

SystemOutcome CheckSystem(const SystemCheckContext& context, const ProfileData& profile,
                          const std::optional<WholeFile>& destinationIni) {
  SystemOutcome outcome;
  const auto begin = [&](CheckStep step) {
    outcome.failedAt = step;
    if (context.onStep) context.onStep(step, outcome);
  };
  begin(CheckStep::Logon);
  LogonRecords records;
  RfcSession& session = context.session;
  const LogonContext logon{session.Library(), session.Log(), context.output, context.overrides, context.deadline,
                           context.tellsSapRfcIni};
  const LogonResult loggedOn = Logon(logon, profile, destinationIni, records);
  outcome.throughSapRfcIni = loggedOn.road == LogonRoad::SapRfcIni;
  outcome.logonFailure = loggedOn.failure;
  if (loggedOn.handle == 0) return outcome;

  const RfcConnection connection(session.Library(), loggedOn.handle);
  begin(CheckStep::CpuRead);
  if (!Answered(CpuRead(session, connection.Handle()), outcome)) return outcome;
  begin(CheckStep::SystemInfo);
  if (!Answered(SystemInfoCheck(session, connection.Handle(), outcome.databaseSystem), outcome)) return outcome;
  begin(CheckStep::DatabaseTest);
  if (!IsDb4(outcome.databaseSystem)) return outcome;
  begin(CheckStep::MissingObjects);
  if (!Answered(MissingObjectsCheck(session, connection.Handle(), outcome.dictionary), outcome)) return outcome;
  outcome.failedAt = CheckStep::Done;
  return outcome;
}

}  // namespace tavorine
