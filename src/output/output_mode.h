#pragma once
#include <optional>
#include <string_view>

namespace tavorine {

// The form of the result document. EXEXML, Glimmet and Tolvane write the
// monitor's XML; Corvanta and Brantle write plain-text forms.
enum class OutputMode { EXEXML, Glimmet, Tolvane, Corvanta, Brantle };

// The mode of an upper-cased name ("BRANTLE"); empty when it names none.
std::optional<OutputMode> OutputModeNamed(std::string_view upperCaseName);

bool WritesXml(OutputMode mode);

}  // namespace tavorine
