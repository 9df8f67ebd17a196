#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/files/random_access_file.h"

namespace tavorine {

inline constexpr std::string_view kTraceFileName = "Dev_Rfc.Trc";

// The text a failed run adds to its error message from the library's trace
// file "Dev_Rfc.Trc" in the working directory: " - " and the message of the
// trace's last error block, " - Please Check Trace-File !" when that block has
// none, " - Look for Trace-File" when there is no trace file.
//
// The trace is read as lines in pieces of 99 characters: a piece beginning
// "**** ERROR " opens a block and clears the message, one beginning "ERROR "
// sets it from its 13th character, one with "======> " at its 8th character
// sets it from its 16th. Only the last piece that matches decides, so the scan
// reads the trace from its end: a listing run never deletes the trace, and
// the cost must not grow with it. Only a regular file is read, and of a trace
// larger than kTraceScanLimit only its last kTraceScanLimit bytes, which hold
// the last error of any trace the library writes.
std::string TraceFileScan();
inline constexpr std::uint64_t kTraceScanLimit = 16 * 1024 * 1024;

// The same over any bytes.
std::string TraceFileScanText(const ByteSource& trace);

}  // namespace tavorine
