// The exported routines. The library's interface is plain C without a
// context argument, so one simulator per process stands behind it.
#include "rfc_abi.h"
#include "simulator.h"

namespace {

// Its destructor runs as the process ends (exit, or the return from main),
// which is when the library checks what the program left open.
struct ProcessLibrary {
  rfcsim::Simulator simulator;
  ~ProcessLibrary() { simulator.AtProcessEnd(); }
};

rfcsim::Simulator& Library() {
  static ProcessLibrary library;
  return library.simulator;
}

}  // namespace

extern "C" {

void* RfcEnvironment(RFC_ENV* environment) { return Library().Environment(environment); }

RFC_HANDLE RfcOpen(RFC_OPTIONS* options) { return Library().Open(options); }

RFC_HANDLE RfcOpenEx(const char* connectString, RFC_ERROR_INFO* errorInfo) {
  return Library().OpenEx(connectString, errorInfo);
}

RFC_RC RfcInstallStructure(const char* name, RFC_TYPE_ELEMENT* elements, uint32_t count, RFC_TYPEHANDLE* typeHandle) {
  return Library().InstallStructure(name, elements, count, typeHandle);
}

RFC_RC RfcCall(RFC_HANDLE handle, const char* function, RFC_PARAMETER* exporting, RFC_TABLE* tables) {
  return Library().Call(handle, function, exporting, tables);
}

RFC_RC RfcReceive(RFC_HANDLE handle, RFC_PARAMETER* importing, RFC_TABLE* tables, char** exception) {
  return Library().Receive(handle, importing, tables, exception);
}

int32_t RfcLastError(RFC_ERROR_INFO* errorInfo) { return Library().LastError(errorInfo); }

void RfcClose(RFC_HANDLE handle) { Library().Close(handle); }

ITAB_H ItCreate(const char* name, uint32_t rowLength, uint32_t occurs, uint32_t memory) {
  return Library().ItCreate(name, rowLength, occurs, memory);
}

uint32_t ItFill(ITAB_H table) { return Library().ItFill(table); }

void* ItGetLine(ITAB_H table, uint32_t line) { return Library().ItGetLine(table, line); }

int32_t ItDelete(ITAB_H table) { return Library().ItDelete(table); }

}  // extern "C"
