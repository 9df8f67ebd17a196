#pragma once
#include <string>
#include <string_view>

namespace tavorine {

inline constexpr std::string_view kToolVersion = "tavorine-profile Vers 4.3 / 29.08.22";

// Exit statuses of the tool.
inline constexpr int kToolDone = 0;            // written, or the profile is accepted
inline constexpr int kToolProfileRefused = 1;  // check: the sensor would refuse the profile
inline constexpr int kToolBadInput = 2;        // bad command line or value, or a file error

// The help text of both commands, with the length limits of every value.
std::string UsageText();

}  // namespace tavorine
