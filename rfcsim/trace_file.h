#pragma once
#include <filesystem>
#include <string>
#include <string_view>

namespace rfcsim {

// One failure as the library reports it: through RfcLastError and as one
// error block appended to Dev_Rfc.Trc. `detail`, when set, becomes the
// marker line that the sensor's trace scan prefers over the ERROR line.
struct SimError {
  std::string key;
  std::string status;
  std::string message;
  std::string detail;
  std::string intstat;  // RfcLastError's internal status
};

// The block for one failure: "**** ERROR file opened at YYYYMMDD HHMMSS",
// "ERROR" + 7 blanks + message, and "T:00001======> " + detail if any.
std::string FormatTraceBlock(const SimError& error, std::string_view timestamp);

// "YYYYMMDD HHMMSS" of the local time now.
std::string TraceTimestamp();

// Appends the block in one write, so that sensors running side by side in
// one directory interleave whole blocks. A trace that cannot be written is
// skipped: the failure itself is still returned to the caller.
void AppendTraceBlock(const std::filesystem::path& traceFile, const SimError& error);

}  // namespace rfcsim
