// The trace-file scan, which reads the trace from its end, against the rules
// read front to back. An input that begins with byte 01 is repeated to more
// than one of the scan's 64 KiB blocks, so that a block edge falls anywhere.
#include <cstdio>

#include "fuzz_input.h"
#include "platform/files/random_access_file.h"
#include "rfc/trace_file_scan.h"
#include "support/forward_trace_scan.h"

namespace {

constexpr std::size_t kRepeatedSize = 70000;

void Compare(std::string_view trace) {
  const std::string backward = tavorine::TraceFileScanText(tavorine::TextSource(trace));
  const std::string forward = tavorine::ForwardTraceScan(trace);
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
