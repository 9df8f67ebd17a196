#pragma once
#include <string>
#include <variant>

#include "output/run_failure.h"
#include "rfc/rfc_api.h"

namespace tavorine {

// The RFC library's routines, loaded at run time from librfc32 (librfc32.dll
// beside Tavorine.exe, librfc32.so beside tavorine). Loading at run time keeps
// a missing or wrong library a numbered message in the document instead of a
// loader dialog the monitor never shows. The library stays loaded for the
// whole process.
struct RfcLibrary {
  RfcEnvironmentFn RfcEnvironment = nullptr;
  RfcOpenFn RfcOpen = nullptr;
  RfcOpenExFn RfcOpenEx = nullptr;
  RfcInstallStructureFn RfcInstallStructure = nullptr;
  RfcCallFn RfcCall = nullptr;
  RfcReceiveFn RfcReceive = nullptr;
  RfcLastErrorFn RfcLastError = nullptr;
  RfcCloseFn RfcClose = nullptr;
  ItCreateFn ItCreate = nullptr;
  ItFillFn ItFill = nullptr;
  ItGetLineFn ItGetLine = nullptr;
  ItDeleteFn ItDelete = nullptr;
};

// Loads the library from the program's own folder first, then from the
// system's search path. Fails with Error 1041 when no library loads and with
// Error 1042 when one lacks a routine.
std::variant<RfcLibrary, RunFailure> LoadRfcLibrary();

}  // namespace tavorine
