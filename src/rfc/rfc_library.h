#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "output/run_failure.h"
#include "platform/process/shared_library.h"
#include "rfc/rfc_api.h"

namespace tavorine {

// The RFC library's routines, loaded at run time from librfc32. Loading at
// run time keeps a missing or wrong library a numbered message in the
// document instead of a loader dialog the monitor never shows. The library
// stays loaded for the whole process; the object only hands out its routines.
struct RfcLibrary {
  RfcLibrary() = default;
  RfcLibrary(const RfcLibrary&) = delete;
  RfcLibrary& operator=(const RfcLibrary&) = delete;

  std::string path;  // the file it was loaded from
  // The connection and its environment.
  RfcEnvironmentFn RfcEnvironment = nullptr;  RfcLastErrorFn RfcLastError = nullptr;
  RfcOpenFn RfcOpen = nullptr;                RfcOpenExFn RfcOpenEx = nullptr;
  RfcCloseFn RfcClose = nullptr;
  // Calls, and the structures and internal tables they take.
  RfcInstallStructureFn RfcInstallStructure = nullptr;
  RfcCallFn RfcCall = nullptr;                RfcReceiveFn RfcReceive = nullptr;
  ItCreateFn ItCreate = nullptr;              ItDeleteFn ItDelete = nullptr;
  ItFillFn ItFill = nullptr;                  ItGetLineFn ItGetLine = nullptr;
};

// One place where the library was looked for, and what was found there.
struct LibraryPlace {
  std::string path;
  LibraryFileFacts facts;
  std::string loadError;  // the loader's reason when a file there did not load
};

// What loading gave: the library, or the failure; and every place looked at.
struct RfcLibraryLoading {
  std::unique_ptr<RfcLibrary> library;
  std::optional<RunFailure> failure;
  std::vector<LibraryPlace> places;
};

// Looks for the library by full path: beside the program, then (Windows) in
// the system folder, where a site may have installed it for every program;
// never in the working directory or along the search path, where anyone who
// can put a file could make the sensor run foreign code. The first place that
// holds the file decides. Fails with Error 1041 when no place holds it (naming
// each place), Error 1043 when the file found does not load (saying why: no
// library, the other bitness, the loader's reason), Error 1042 when it lacks a
// routine.
RfcLibraryLoading LoadRfcLibrary();

// Why a library file found does not load, in words for the administrator.
std::string WhyNotLoaded(const LibraryPlace& place);

}  // namespace tavorine
