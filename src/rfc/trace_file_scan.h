#pragma once
#include <string>
#include <string_view>

namespace tavorine {

inline constexpr std::string_view kTraceFileName = "Dev_Rfc.Trc";

// The text a failed run adds to its error message from the library's trace
// file "Dev_Rfc.Trc" in the working directory: " - " and the message of the
// trace's last error block, " - Please Check Trace-File !" when that block has
// none, " - Look for Trace-File" when there is no trace file.
std::string TraceFileScan();

// The same over the trace's text, read in pieces of 99 characters.
std::string TraceFileScanText(std::string_view traceText);

}  // namespace tavorine
