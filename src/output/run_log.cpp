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

bool RunLog::WriteLine(std::string_view line) {
  if (!switchedOn_) return true;
  if (destination_) {
    destination_(line);
    return true;
  }
  if (!file_) file_ = std::make_unique<AppendFile>(kRunLogFileName);
  return file_->AppendLine(line, {kAppendLockLimit, deadline_});
}

}  // namespace tavorine
