#pragma once
#include <optional>
#include <string_view>

namespace tavorine {

// The form of the result document. EXEXML, Glimmet and Tolvane write the
// monitor's XML; Corvanta and Brantle write plain-text forms.
enum class OutputMode { EXEXML, Glimmet, Tolvane, Corvanta, Brantle };

// The option word that selects a mode: "MODE=" followed by the mode's name, in
// any letter case ("mode=brantle"). No other option word contains it.
inline constexpr std::string_view kModeOptionWord = "MODE=";

// The mode that the upper-cased options select: EXEXML without the option
// word, empty when the word names no mode.
std::optional<OutputMode> SelectedOutputMode(std::string_view optionsText);

bool WritesXml(OutputMode mode);

}  // namespace tavorine
