// The trace-file scan, which reads the trace from its end, against the rules
// read front to back. An input that begins with byte 01 is repeated to more
// than one of the scan's 64 KiB blocks, so that a block edge falls anywhere.
#include <cstdio>

#include "fuzz_input.h"
#include "platform/random_access_file.h"
#include "platform/text_file.h"
#include "rfc/trace_file_scan.h"

namespace {

constexpr std::size_t kRepeatedSize = 70000;

// The reference scan of tests/unit/trace_file_scan_test.cpp.
std::string ForwardScan(std::string_view trace) {
  std::string found;
  std::string line;
  tavorine::PieceReader reader(trace, 99);
  while (reader.Next(line)) {
    const std::string_view view(line);
    if (view.starts_with("**** ERROR ")) found.clear();
    if (view.starts_with("ERROR ")) found = view.size() > 12 ? line.substr(12) : "";
    if (view.size() >= 15 && view.substr(7, 8) == "======> ") found = view.size() > 15 ? line.substr(15) : "";
  }
  return found.empty() ? " - Please Check Trace-File !" : " - " + found;
}

void Compare(std::string_view trace) {
  const std::string backward = tavorine::TraceFileScanText(tavorine::TextSource(trace));
  const std::string forward = ForwardScan(trace);
  if (backward == forward) return;
  std::fprintf(stderr, "backward: \"%s\"\nforward:  \"%s\"\n", backward.c_str(), forward.c_str());
  fuzz::Fail("the backward scan differs from the forward rules");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = fuzz::Text(data, size);
  if (text.size() > 1 && text.front() == '\x01') {
    const std::string_view unit = text.substr(1);
    std::string trace;
    while (trace.size() < kRepeatedSize) trace += unit;
    Compare(trace);
  } else {
    Compare(text);
  }
  return 0;
}
