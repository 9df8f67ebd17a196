#pragma once
#include <string_view>

#include "rfc/rfc_library.h"

namespace tavorine {

// Installs RfcErrorReport as the library's error callback (RfcEnvironment).
// The library keeps no context for its callback, so the report finds the
// library through the one process-wide pointer that this sets.
void InstallRfcErrorReport(const RfcLibrary& library);

// Prints the library's last error ("RFC error", the operation and the four
// fields of the error record), closes every connection and ends the process
// with exit status 1. The library calls it for its own failures; the program
// calls it when a structure or table operation fails.
[[noreturn]] void RfcErrorReport(std::string_view operation);

}  // namespace tavorine
