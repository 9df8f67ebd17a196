#include "trace_file.h"

#include <cstdio>
#include <ctime>

namespace rfcsim {

std::string FormatTraceBlock(const SimError& error, std::string_view timestamp) {
  std::string block = "**** ERROR file opened at " + std::string(timestamp) + "\n";
  block += "ERROR       " + error.message + "\n";
  if (!error.detail.empty()) block += "T:00001======> " + error.detail + "\n";
  return block;
}

std::string TraceTimestamp() {
  const std::time_t now = std::time(nullptr);
  // The routines run on the one thread of the caller, so the record that
  // std::localtime shares across calls is never read while another call fills it.
  const std::tm* local = std::localtime(&now);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%d %H%M%S", local);
  return text;
}

void AppendTraceBlock(const std::filesystem::path& traceFile, const SimError& error) {
  const std::string block = FormatTraceBlock(error, TraceTimestamp());
  std::FILE* file = std::fopen(traceFile.string().c_str(), "ab");
  if (!file) return;
  std::setvbuf(file, nullptr, _IOFBF, block.size() + 1);
  std::fwrite(block.data(), 1, block.size(), file);
  std::fclose(file);
}

}  // namespace rfcsim
