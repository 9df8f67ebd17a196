#include "output/run_log.h"

#include <string>

namespace tavorine {

bool RunLog::Write(std::int32_t number, std::string_view text, std::string_view detail) {
  if (!switchedOn_) return true;
  if (destination_) {
    destination_(number, text, detail);
    return true;
  }
  std::string line = std::to_string(number);
  line += ' ';
  line += text;
  line += ' ';
  line += detail;
  line += '\n';
  if (!file_) file_ = std::make_unique<AppendFile>(kRunLogFileName);
  return file_->AppendLine(line, {kAppendLockLimit, deadline_});
}

}  // namespace tavorine
