#pragma once
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "platform/append_file.h"
#include "platform/deadline.h"

namespace tavorine {

// The run log: one line "<number> <text> <detail>" per milestone of a run,
// written only while the options hold ",SYSLOG". The lines go to
// kRunLogFileName in the working directory, opened for appending at the first
// line (AppendFile keeps the lines of parallel runs whole), or to another
// destination: a worker hands its lines to the run that started it.
class RunLog {
 public:
  static constexpr std::string_view kRunLogFileName = "Tavorine.log";
  using Destination = std::function<void(std::string_view line)>;

  // deadline: the run's, which a wait for the file's lock never outlasts.
  explicit RunLog(Deadline deadline = {}, Destination destination = {})
      : deadline_(deadline), destination_(std::move(destination)) {}

  // Switches the log by the upper-cased options (a listing run's are those of
  // its listing file).
  void FollowOptions(std::string_view optionsText);

  void Write(std::int32_t number, std::string_view text, std::string_view detail);
  // A line a worker wrote, whole: the worker followed the same options.
  // False when the run's deadline came before the line could be written.
  bool WriteLine(std::string_view line);

 private:
  bool switchedOn_ = false;
  Deadline deadline_;
  Destination destination_;
  std::unique_ptr<AppendFile> file_;  // owned, opened at the first line when there is no other destination
};

}  // namespace tavorine
