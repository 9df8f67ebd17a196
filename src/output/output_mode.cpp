#include "output/output_mode.h"

#include <array>
#include <string>
#include <utility>

namespace tavorine {

std::optional<OutputMode> OutputModeNamed(std::string_view name) {
  static constexpr std::array<std::pair<std::string_view, OutputMode>, 5> kNames{
      {{"EXEXML", OutputMode::EXEXML}, {"GLIMMET", OutputMode::Glimmet}, {"TOLVANE", OutputMode::Tolvane},
       {"CORVANTA", OutputMode::Corvanta}, {"BRANTLE", OutputMode::Brantle}}};
  for (const auto& [text, mode] : kNames) {
    if (name == text) return mode;
  }
  return std::nullopt;
}

bool WritesXml(OutputMode mode) {
  return mode == OutputMode::EXEXML || mode == OutputMode::Glimmet || mode == OutputMode::Tolvane;
}

}  // namespace tavorine
