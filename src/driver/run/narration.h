#pragma once
#include <string>
#include <string_view>

#include "platform/process/output_sink.h"

namespace tavorine {

// The account in plain words that a diagnosis gives of a sensor call: each
// decision as it is made, one line each. A sensor call tells nothing.
class Narration {
 public:
  Narration() = default;
  explicit Narration(OutputSink& lines) : lines_(&lines) {}

  bool Told() const { return lines_ != nullptr; }
  // Lines of text (a final line feed is not an empty line); each indent
  // level of two blanks groups the details of a step.
  void Say(std::string_view text, int indent = 0) const;

 private:
  OutputSink* lines_ = nullptr;  // borrowed
};

}  // namespace tavorine
