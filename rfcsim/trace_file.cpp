#include "trace_file.h"

#include <cstdio>
#include <ctime>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

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

#ifdef _WIN32
void AppendTraceBlock(const std::filesystem::path& traceFile, const SimError& error) {
  const std::string block = FormatTraceBlock(error, TraceTimestamp());
  std::FILE* file = std::fopen(traceFile.string().c_str(), "ab");
  if (!file) return;
  std::setvbuf(file, nullptr, _IOFBF, block.size() + 1);
  std::fwrite(block.data(), 1, block.size(), file);
  std::fclose(file);
}
#else
// Into a regular file only, opened without blocking: a FIFO in the trace's
// place must not hold the caller.
void AppendTraceBlock(const std::filesystem::path& traceFile, const SimError& error) {
  const std::string block = FormatTraceBlock(error, TraceTimestamp());
  const int file = open(traceFile.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0644);
  if (file < 0) return;
  struct stat status {};
  if (fstat(file, &status) == 0 && S_ISREG(status.st_mode)) {
    [[maybe_unused]] const ssize_t written = write(file, block.data(), block.size());
  }
  close(file);
}
#endif

}  // namespace rfcsim
