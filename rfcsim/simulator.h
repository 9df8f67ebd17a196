#pragma once
// The stand-in RFC library: one object per process behind the exported
// routines, and one per test case in the tests. It reads RfcSim.txt and
// SapRfc.ini from its directory and appends failures to Dev_Rfc.Trc there.
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "catalogue.h"
#include "description.h"
#include "simulated_tables.h"
#include "logon_check.h"
#include "rfc_abi.h"
#include "trace_file.h"

namespace rfcsim {

class Simulator {
 public:
  // An empty directory stands for the working directory.
  explicit Simulator(std::filesystem::path directory = {});

  void* Environment(RFC_ENV* environment);
  RFC_HANDLE Open(RFC_OPTIONS* options);
  RFC_HANDLE OpenEx(const char* connectString, RFC_ERROR_INFO* errorInfo);
  RFC_RC InstallStructure(const char* name, RFC_TYPE_ELEMENT* elements, uint32_t count, RFC_TYPEHANDLE* typeHandle);
  RFC_RC Call(RFC_HANDLE handle, const char* function, RFC_PARAMETER* exporting, RFC_TABLE* tables);
  RFC_RC Receive(RFC_HANDLE handle, RFC_PARAMETER* importing, RFC_TABLE* tables, char** exception);
  int32_t LastError(RFC_ERROR_INFO* errorInfo) const;
  void Close(RFC_HANDLE handle);
  ITAB_H ItCreate(const char* name, uint32_t rowLength, uint32_t occurs, uint32_t memory);
  uint32_t ItFill(ITAB_H table);
  void* ItGetLine(ITAB_H table, uint32_t line);
  int32_t ItDelete(ITAB_H table);

  // What the process must have cleaned up before it ends: every connection
  // closed, every table deleted. The library runs it as the process ends.
  void AtProcessEnd();

 private:
  struct Connection {
    const SystemDescription* system;
    const KnownFunction* pending;  // called, not yet received
  };

  RFC_HANDLE Logon(const LogonRequest& request, RFC_ERROR_INFO* errorInfo);
  // Reads RfcSim.txt from the directory once it is there; until then every
  // call looks for it again.
  void ReadDescription();
  // Why no logon can pass: no description, or the first problem in it.
  std::string DescriptionProblem();
  std::string CheckOpenEx(const char* connectString, LogonRequest& request) const;
  RFC_HANDLE Refuse(const LogonRequest& request, const std::string& reason, RFC_ERROR_INFO* errorInfo);

  RFC_RC CallFailed(const SystemDescription& system, const KnownFunction& called, const std::string& where,
                    const CallFailure& failure, char** exception);
  RFC_RC CallbackFailure(const SystemDescription& system, const std::string& where, const std::string& text);
  // Fails with a callback or a code injected for the call at this routine, if any.
  std::optional<RFC_RC> InjectedAt(const SystemDescription& system, const KnownFunction& function,
                                   std::string_view routine, char** exception);
  bool Injected(std::set<std::string, std::less<>> Injections::*which, std::string_view name) const;
  RFC_TYPEHANDLE InstalledHandle(std::string_view structure) const;
  std::string CheckCall(const KnownFunction& function, std::string_view role, RFC_PARAMETER* parameters,
                        RFC_TABLE* tables) const;
  void FillTables(const SystemDescription& system, const KnownFunction& function, RFC_TABLE* tables);
  Connection* FindConnection(std::string_view routine, RFC_HANDLE handle);

  // The step's time on the network (the logon, or a function module's call):
  // its latency and jitter, or a crash or a hang where the description says so.
  void Answer(const SystemDescription& system, std::string_view step);

  // Records the failure for RfcLastError and appends it to the trace.
  void Fail(SimError error);
  // A mismatch between the program and the library: also told on stderr.
  void ContractFailure(const std::string& problem);
  static SimError Injection(const SystemDescription& system, std::string key, const std::string& where,
                            std::string message);

  std::filesystem::path directory_;
  RFC_ERROR_HANDLER handler_ = nullptr;
  std::optional<Description> description_;
  const SystemDescription* lastLogon_ = nullptr;
  std::map<RFC_HANDLE, Connection> connections_;
  RFC_HANDLE nextHandle_ = 1;
  std::map<std::string, RFC_TYPEHANDLE, std::less<>> typeHandles_;
  RFC_TYPEHANDLE nextTypeHandle_ = 100;
  SimulatedTables tables_;
  uint64_t tablesLeftByDesign_ = 0;  // tables created before the last RfcClose(0)
  // How often each destination has taken each step, for repeatable jitter.
  std::map<std::pair<std::string, std::string>, uint64_t> stepCounts_;
  SimError lastError_;
  std::string exception_;
  std::string callbackText_;
};

}  // namespace rfcsim
