#include "rfc/trace_file_scan.h"

#include "platform/text_file.h"

namespace tavorine {

namespace {

constexpr std::size_t kTracePieceLength = 99;
constexpr std::string_view kBlockHeader = "**** ERROR ";
constexpr std::string_view kErrorLine = "ERROR ";
constexpr std::size_t kErrorMessageColumn = 12;
constexpr std::string_view kArrow = "======> ";
constexpr std::size_t kArrowColumn = 7;

std::string From(std::string_view line, std::size_t column) {
  return line.size() > column ? std::string(line.substr(column)) : std::string();
}

}  // namespace

std::string TraceFileScanText(std::string_view traceText) {
  std::string found;
  std::string line;
  PieceReader reader(traceText, kTracePieceLength);
  while (reader.Next(line)) {
    const std::string_view view(line);
    if (view.starts_with(kBlockHeader)) found.clear();
    if (view.starts_with(kErrorLine)) found = From(view, kErrorMessageColumn);
    if (view.size() >= kArrowColumn + kArrow.size() && view.substr(kArrowColumn, kArrow.size()) == kArrow) {
      found = From(view, kArrowColumn + kArrow.size());
    }
  }
  return found.empty() ? " - Please Check Trace-File !" : " - " + found;
}

std::string TraceFileScan() {
  const auto trace = ReadTextFile(kTraceFileName);
  if (!trace) return " - Look for Trace-File";
  return TraceFileScanText(*trace);
}

}  // namespace tavorine
