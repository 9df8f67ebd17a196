#include "output/run_log.h"

#include <string>

namespace tavorine {

void RunLog::FollowOptions(std::string_view optionsText) {
  switchedOn_ = optionsText.find(",SYSLOG") != std::string_view::npos;
}

void RunLog::Write(std::int32_t number, std::string_view text, std::string_view detail) {
  if (!switchedOn_) return;
  std::string line = std::to_string(number);
  line += ' ';
  line += text;
  line += ' ';
  line += detail;
  line += '\n';
  WriteLine(line);
}

void RunLog::WriteLine(std::string_view line) {
  if (!switchedOn_) return;
  if (destination_) return destination_(line);
  if (!file_) file_ = std::make_unique<AppendFile>(kRunLogFileName);
  file_->AppendLine(line);
}

}  // namespace tavorine
