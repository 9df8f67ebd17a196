#include "simulator.h"

#include <cstdio>
#include <cstring>

#include "contract.h"

namespace rfcsim {
namespace {

void CopyText(char* target, size_t capacity, const std::string& text) {
  const size_t length = std::min(text.size(), capacity - 1);
  std::memcpy(target, text.data(), length);
  target[length] = '\0';
}

}  // namespace

Simulator::Simulator(std::filesystem::path directory) : directory_(std::move(directory)) {}

void* Simulator::Environment(RFC_ENV* environment) {
  if (environment && environment->allocate) {
    ContractFailure("RfcEnvironment: an allocator, expected none");
    return nullptr;
  }
  handler_ = environment ? environment->errorhandler : nullptr;
  // The program installs the environment in the sensor's working directory
  // and may log on from another one.
  ReadDescription();
  return nullptr;
}

int32_t Simulator::LastError(RFC_ERROR_INFO* errorInfo) const {
  if (!errorInfo) return 1;
  CopyText(errorInfo->key, sizeof errorInfo->key, lastError_.key);
  CopyText(errorInfo->status, sizeof errorInfo->status, lastError_.status);
  CopyText(errorInfo->message, sizeof errorInfo->message, lastError_.message);
  CopyText(errorInfo->intstat, sizeof errorInfo->intstat, lastError_.intstat);
  return 0;
}

void Simulator::Close(RFC_HANDLE handle) {
  if (handle == 0) {
    connections_.clear();
    // The program's error report closes everything and ends the process,
    // leaving the tables of the failed step behind by design.
    tablesLeftByDesign_ = tables_.Created();
  } else if (connections_.erase(handle) == 0) {
    ContractFailure("RfcClose: handle " + std::to_string(handle) + " is not open");
  }
}

void Simulator::AtProcessEnd() {
  if (!connections_.empty()) {
    std::string handles;
    for (const auto& [handle, connection] : connections_) {
      handles += (handles.empty() ? "" : ", ") + std::to_string(handle) + " (" + connection.system->destination + ")";
    }
    ContractFailure("RfcClose: connections still open when the process ends: " + handles);
  }
  const std::vector<std::string> tables = tables_.LivingSince(tablesLeftByDesign_);
  if (!tables.empty()) {
    std::string names;
    for (const std::string& name : tables) names += (names.empty() ? "" : ", ") + name;
    ContractFailure("ItDelete: tables not deleted when the process ends: " + names);
  }
}

void Simulator::Fail(SimError error) {
  AppendTraceBlock(directory_ / "Dev_Rfc.Trc", error);
  lastError_ = std::move(error);
}

void Simulator::ContractFailure(const std::string& problem) {
  const std::string message = "contract: " + problem;
  std::fprintf(stderr, "rfcsim: %s\n", message.c_str());
  Fail({"RFC_ERROR_PROGRAM", "contract", message, {}, "the program's call does not match the library's interface"});
}

SimError Simulator::Injection(const SystemDescription& system, std::string key, const std::string& where,
                              std::string message) {
  return {std::move(key), where, std::move(message), {}, "injected for " + system.destination + " by RfcSim.txt"};
}

bool Simulator::Injected(std::set<std::string, std::less<>> Injections::*which, std::string_view name) const {
  return lastLogon_ && (lastLogon_->failures.*which).contains(name);
}

RFC_TYPEHANDLE Simulator::InstalledHandle(std::string_view structure) const {
  const auto found = typeHandles_.find(structure);
  return found == typeHandles_.end() ? 0 : found->second;
}

RFC_RC Simulator::InstallStructure(const char* name, RFC_TYPE_ELEMENT* elements, uint32_t count,
                                   RFC_TYPEHANDLE* typeHandle) {
  if (std::string problem = CheckStructure(name, elements, count); !problem.empty()) {
    ContractFailure("RfcInstallStructure: " + problem);
    return 1;
  }
  if (!typeHandle) {
    ContractFailure(std::string("RfcInstallStructure ") + name + ": no place for the type handle");
    return 1;
  }
  if (InstalledHandle(name) != 0) {
    ContractFailure(std::string("RfcInstallStructure ") + name + ": installed a second time");
    return 1;
  }
  if (Injected(&Injections::install, name)) {
    const std::string where = std::string("RfcInstallStructure ") + name;
    Fail(Injection(*lastLogon_, "RFC_ERROR_RESOURCE", where, where + ": simulated failure"));
    return 1;
  }
  *typeHandle = nextTypeHandle_++;
  typeHandles_.emplace(name, *typeHandle);
  return 0;
}

ITAB_H Simulator::ItCreate(const char* name, uint32_t rowLength, uint32_t occurs, uint32_t memory) {
  if (!name) {
    ContractFailure("ItCreate: table without a name");
    return nullptr;
  }
  if (occurs != 0 || memory != 0) {
    ContractFailure(std::string("ItCreate ") + name + ": arguments 3 and 4 are " + std::to_string(occurs) + " and " +
                    std::to_string(memory) + ", expected 0 and 0");
    return nullptr;
  }
  if (Injected(&Injections::itCreate, name)) {
    const std::string where = std::string("ItCreate ") + name;
    Fail(Injection(*lastLogon_, "RFC_ERROR_RESOURCE", where, where + ": simulated failure"));
    return nullptr;
  }
  return tables_.Create(name, rowLength);
}

uint32_t Simulator::ItFill(ITAB_H handle) {
  const SimulatedTable* table = tables_.Find(handle);
  if (!table) {
    ContractFailure("ItFill: not a table handle from ItCreate");
    return 0;
  }
  return table->Lines();
}

void* Simulator::ItGetLine(ITAB_H handle, uint32_t line) {
  SimulatedTable* table = tables_.Find(handle);
  if (!table) {
    ContractFailure("ItGetLine: not a table handle from ItCreate");
    return nullptr;
  }
  if (Injected(&Injections::itGetLine, table->Name())) {
    const std::string where = "ItGetLine " + table->Name();
    Fail(Injection(*lastLogon_, "RFC_ERROR_RESOURCE", where, where + ": simulated failure"));
    return nullptr;
  }
  char* row = table->Line(line);
  if (!row) {
    ContractFailure("ItGetLine " + table->Name() + ": line " + std::to_string(line) + ", the table has " +
                    std::to_string(table->Lines()) + " lines");
  }
  return row;
}

int32_t Simulator::ItDelete(ITAB_H handle) {
  const SimulatedTable* table = tables_.Find(handle);
  if (!table) {
    ContractFailure("ItDelete: not a table handle from ItCreate");
    return 1;
  }
  if (Injected(&Injections::itDelete, table->Name())) {
    const std::string where = "ItDelete " + table->Name();
    Fail(Injection(*lastLogon_, "RFC_ERROR_RESOURCE", where, where + ": simulated failure"));
    return 1;
  }
  tables_.Delete(handle);
  return 0;
}

}  // namespace rfcsim
