#pragma once
// The trace-file scan as the trace's rules read, front to back: the reference
// that the product's backward scan must always agree with (unit test and
// fuzz target alike).
#include <string>
#include <string_view>

#include "platform/text/piece_reader.h"

namespace tavorine {

inline std::string ForwardTraceScan(std::string_view trace) {
  std::string found;
  std::string line;
  TextStream stream(trace);
  PieceReader reader(stream, 99);
  while (reader.Next(line)) {
    const std::string_view view(line);
    if (view.starts_with("**** ERROR ")) found.clear();
    if (view.starts_with("ERROR ")) found = view.size() > 12 ? line.substr(12) : "";
    if (view.size() >= 15 && view.substr(7, 8) == "======> ") found = view.size() > 15 ? line.substr(15) : "";
  }
  return found.empty() ? " - Please Check Trace-File !" : " - " + found;
}

}  // namespace tavorine
