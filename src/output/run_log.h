#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "platform/files/append_file.h"
#include "platform/time/deadline.h"

namespace tavorine {

// The run log: one line "<number> <text> <detail>" per milestone of a run,
// written only when the options ask for it. The lines go to
// kRunLogFileName in the working directory, opened for appending at the first
// line (AppendFile keeps the lines of parallel runs whole), or to another
// destination: a worker hands its lines to the run that started it, and a
// group run numbers the connections of all its systems in turn.
class RunLog {
 public:
  static constexpr std::string_view kRunLogFileName = "Tavorine.log";
  using Destination = std::function<void(std::int32_t number, std::string_view text, std::string_view detail)>;

  // deadline: the run's, which a wait for the file's lock never outlasts.
  explicit RunLog(Deadline deadline = {}, Destination destination = {})
      : deadline_(deadline), destination_(std::move(destination)) {}

  // The log writes only once switched on (a listing run's options are those
  // of its listing file).
  void SwitchOn(bool on) { switchedOn_ = on; }

  // False when the run's deadline came before the line could be written.
  bool Write(std::int32_t number, std::string_view text, std::string_view detail);

 private:
  bool switchedOn_ = false;
  Deadline deadline_;
  Destination destination_;
  std::unique_ptr<AppendFile> file_;  // owned, opened at the first line when there is no other destination
};

}  // namespace tavorine
