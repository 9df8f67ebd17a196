#include "driver/run/narration.h"

namespace tavorine {

void Narration::Say(std::string_view text, int indent) const {
  if (lines_ == nullptr) return;
  if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
  const std::string margin(static_cast<std::size_t>(indent) * 2, ' ');
  std::string lines;
  while (true) {
    const std::size_t end = text.find('\n');
    lines += margin + std::string(text.substr(0, end)) + "\n";
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  lines_->Write(lines);
}

}  // namespace tavorine
