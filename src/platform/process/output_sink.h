#pragma once
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "platform/process/exit_status.h"

namespace tavorine {

// Where the bytes the program prints go. Each write goes through at once: the
// monitor reads a group sensor's head long before its summary. A write that
// could not be made whole is remembered, since a document that never reached
// the monitor is no success. Safe to write from a second thread (the
// deadline's); the writes of one call never interleave with another's.
class OutputSink {
 public:
  virtual ~OutputSink() = default;
  void Write(std::string_view bytes);
  // False once a write failed.
  bool Delivered() const;
  // How a run that wanted to end with status ends: a document that did not
  // reach its reader is no success, whatever it says.
  ExitStatus StatusAfter(ExitStatus wanted) const { return Delivered() ? wanted : ExitStatus::Failed; }
  // From here on only the calling thread writes, the one that writes the
  // run's ending: what another thread writes then is dropped, so that no line
  // of a run that its deadline cut short follows or splits its ending.
  void ClaimEnding();

 protected:
  // Writes all bytes or fails.
  virtual bool WriteAll(std::string_view bytes) = 0;

 private:
  mutable std::mutex mutex_;
  bool delivered_ = true;
  std::optional<std::thread::id> ending_;
};

// The process's standard output, written with the system's own calls: no
// buffer of the C library stands in between that an exit from inside the RFC
// library could leave unwritten. Constructed as closed when the stream was
// closed at start: every write then fails.
class StandardOutput final : public OutputSink {
 public:
  explicit StandardOutput(bool open) : open_(open) {}

 private:
  bool WriteAll(std::string_view bytes) override;
  bool open_;
};

}  // namespace tavorine
