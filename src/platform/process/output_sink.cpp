#include "platform/process/output_sink.h"

#include "platform/files/native_file.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace tavorine {

void OutputSink::Write(std::string_view bytes) {
  const std::lock_guard lock(mutex_);
  if (ending_ && ending_ != std::this_thread::get_id()) return;
  if (!WriteAll(bytes)) delivered_ = false;
}

void OutputSink::ClaimEnding() {
  const std::lock_guard lock(mutex_);
  ending_ = std::this_thread::get_id();
}

bool OutputSink::Delivered() const {
  const std::lock_guard lock(mutex_);
  return delivered_;
}

bool StandardOutput::WriteAll(std::string_view bytes) {
  if (!open_) return false;
#ifdef _WIN32
  const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  return output != nullptr && output != INVALID_HANDLE_VALUE && tavorine::WriteAll(output, bytes);
#else
  return tavorine::WriteAll(STDOUT_FILENO, bytes);
#endif
}

}  // namespace tavorine
