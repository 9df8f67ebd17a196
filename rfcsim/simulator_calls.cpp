#include "contract.h"
#include "record_writer.h"
#include "simulator.h"

namespace rfcsim {
namespace {

// Whether the description makes the function module's call fail at this routine.
bool FailsAt(const Injections& failures, std::string_view routine, std::string_view function) {
  if (routine == "RfcCall") return failures.callbackAtCall.contains(function) || failures.atCall.contains(function);
  return failures.callbackAtReceive.contains(function) || failures.atReceive.contains(function);
}

}  // namespace

Simulator::Connection* Simulator::FindConnection(std::string_view routine, RFC_HANDLE handle) {
  const auto found = connections_.find(handle);
  if (found != connections_.end()) return &found->second;
  ContractFailure(std::string(routine) + ": handle " + std::to_string(handle) + " is not open");
  return nullptr;
}

std::string Simulator::CheckCall(const KnownFunction& function, std::string_view role, RFC_PARAMETER* parameters,
                                 RFC_TABLE* tables) const {
  const TypeHandleOf typeHandleOf = [this](std::string_view structure) { return InstalledHandle(structure); };
  const auto expected = role == "exporting" ? function.exporting : function.importing;
  std::string problem = CheckParameters(role, expected, parameters, typeHandleOf);
  if (problem.empty()) problem = CheckTables(function.tables, tables, typeHandleOf, tables_);
  return problem;
}

RFC_RC Simulator::Call(RFC_HANDLE handle, const char* function, RFC_PARAMETER* exporting, RFC_TABLE* tables) {
  Connection* connection = FindConnection("RfcCall", handle);
  if (!connection) return 1;
  const KnownFunction* known = function ? FindFunction(function) : nullptr;
  if (!known) {
    ContractFailure("RfcCall: unknown function module \"" + Shown(function ? function : "") + "\"");
    return 1;
  }
  const std::string where = "RfcCall " + std::string(known->name);
  if (connection->pending) {
    ContractFailure(where + ": " + std::string(connection->pending->name) + " still awaits RfcReceive");
    return 1;
  }
  if (std::string problem = CheckCall(*known, "exporting", exporting, tables); !problem.empty()) {
    ContractFailure(where + ": " + problem);
    return 1;
  }
  // The answer's time is spent in RfcReceive, unless the call already fails
  // here: then the partner's refusal takes it.
  const SystemDescription& system = *connection->system;
  if (!FailsAt(system.failures, "RfcCall", known->name)) {
    connection->pending = known;
    return 0;
  }
  Answer(system, known->name);
  return InjectedAt(system, *known, "RfcCall", nullptr).value_or(1);
}

RFC_RC Simulator::Receive(RFC_HANDLE handle, RFC_PARAMETER* importing, RFC_TABLE* tables, char** exception) {
  Connection* connection = FindConnection("RfcReceive", handle);
  if (!connection) return 1;
  if (!connection->pending) {
    ContractFailure("RfcReceive: no RfcCall awaits its answer on handle " + std::to_string(handle));
    return 1;
  }
  const KnownFunction& known = *connection->pending;
  if (std::string problem = CheckCall(known, "importing", importing, tables); !problem.empty()) {
    connection->pending = nullptr;
    ContractFailure("RfcReceive " + std::string(known.name) + ": " + problem);
    return 1;
  }
  // An error callback may close the connection before it returns.
  connection->pending = nullptr;
  const SystemDescription& system = *connection->system;
  Answer(system, known.name);
  if (const auto failed = InjectedAt(system, known, "RfcReceive", exception)) return *failed;
  WriteImporting(system, known.importing, importing);
  FillTables(system, known, tables);
  return 0;
}

std::optional<RFC_RC> Simulator::InjectedAt(const SystemDescription& system, const KnownFunction& function,
                                            std::string_view routine, char** exception) {
  const Injections& failures = system.failures;
  const bool atCall = routine == "RfcCall";
  const std::string where = std::string(routine) + " " + std::string(function.name);
  const auto& callbacks = atCall ? failures.callbackAtCall : failures.callbackAtReceive;
  if (const auto found = callbacks.find(function.name); found != callbacks.end()) {
    return CallbackFailure(system, where, found->second);
  }
  const auto& codes = atCall ? failures.atCall : failures.atReceive;
  if (const auto found = codes.find(function.name); found != codes.end()) {
    return CallFailed(system, function, where, found->second, exception);
  }
  return std::nullopt;
}

RFC_RC Simulator::CallFailed(const SystemDescription& system, const KnownFunction& called, const std::string& where,
                             const CallFailure& failure, char** exception) {
  const std::string function(called.name);
  SimError error = Injection(system, "RFC_ERROR_OTHER", where,
                             where + ": failure code " + std::to_string(failure.code));
  if (failure.code == 1) {
    error.key = "RFC_ERROR_COMMUNICATION";
    error.message = where + ": communication failure";
  } else if (failure.code == 2) {
    error.key = "RFC_ERROR_APPLICATION_EXCEPTION";
    error.message = where + ": exception " + failure.exception;
    error.detail = "Exception " + failure.exception + " raised by " + function;
  } else if (failure.code == 3) {
    error.key = "RFC_ERROR_SYSTEM_FAILURE";
    error.message = where + ": system exception " + failure.exception;
    error.detail = "System exception " + failure.exception + " raised by " + function;
  }
  Fail(std::move(error));
  if ((failure.code == 2 || failure.code == 3) && exception) {
    exception_ = failure.exception;
    *exception = exception_.data();
  }
  return failure.code;
}

RFC_RC Simulator::CallbackFailure(const SystemDescription& system, const std::string& where, const std::string& text) {
  Fail(Injection(system, "RFC_ERROR_SYSTEM_FAILURE", where, text));
  // The sensor's handler ends the process, so it is the last thing done here.
  // A handler that returns leaves the routine failing as with code 1.
  if (handler_) {
    callbackText_ = text;
    handler_(callbackText_.data());
  }
  return 1;
}

void Simulator::FillTables(const SystemDescription& system, const KnownFunction& function, RFC_TABLE* tables) {
  for (size_t i = 0; i < function.tables.size(); ++i) {
    if (function.tables[i].name != "TF_CPU_ALL") continue;
    const std::string row = RecordBytes(system, *FindStructure("CPU_ALL"));
    SimulatedTable* table = tables_.Find(tables[i].ithandle);
    for (uint32_t n = 0; n < system.cpuRows; ++n) table->Append(row);
  }
}

}  // namespace rfcsim
