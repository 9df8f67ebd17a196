#include "platform/output_sink.h"

#include <algorithm>
#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <unistd.h>
#endif

namespace tavorine {

void OutputSink::Write(std::string_view bytes) {
  const std::lock_guard lock(mutex_);
  if (!WriteAll(bytes)) delivered_ = false;
}

bool OutputSink::Delivered() const {
  const std::lock_guard lock(mutex_);
  return delivered_;
}

void OutputSink::EndProcess(ExitStatus status) {
  BeforeProcessEnds(status);
  std::exit(static_cast<int>(status));
}

void OutputSink::EndProcessAtOnce(ExitStatus status) {
  BeforeProcessEnds(status);
  std::_Exit(static_cast<int>(status));
}

bool StandardOutput::WriteAll(std::string_view bytes) {
  if (!open_) return false;
#ifdef _WIN32
  const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  if (output == nullptr || output == INVALID_HANDLE_VALUE) return false;
  while (!bytes.empty()) {
    DWORD written = 0;
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 20));
    if (!WriteFile(output, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
#else
  while (!bytes.empty()) {
    const ssize_t written = ::write(STDOUT_FILENO, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
#endif
  return true;
}

bool CollectedOutput::WriteAll(std::string_view bytes) {
  text_ += bytes;
  return true;
}

}  // namespace tavorine
