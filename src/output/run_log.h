#pragma once
#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/append_file.h"

namespace tavorine {

// The run log: one line "<number> <text> <detail>" per milestone of a run,
// written only while the options hold ",SYSLOG". The lines go to the file
// kRunLogFileName in the working directory, opened for appending at the first
// line, one write per line, so parallel runs never tear each other's lines.
class RunLog {
 public:
  static constexpr std::string_view kRunLogFileName = "Tavorine.log";

  // Switches the log by the upper-cased options; a listing run calls it again
  // when its listing file replaces the options.
  void FollowOptions(std::string_view optionsText);

  void Write(std::int32_t number, std::string_view text, std::string_view detail);

 private:
  bool switchedOn_ = false;
  std::unique_ptr<AppendFile> file_;
};

}  // namespace tavorine
