#pragma once

namespace tavorine {

// How the program names itself in its lines: "* hh:mm:ss SAP Tavorine Vers 4.3 / 29.08.22".
inline constexpr const char* kProgramName = "Tavorine";
inline constexpr const char* kVersionText = "Vers 4.3 / 29.08.22";

}  // namespace tavorine
