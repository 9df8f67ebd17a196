#pragma once
#include <string>

namespace tavorine {

// The local time of day as "hh:mm:ss" (24-hour clock).
std::string LocalTimeOfDay();

}  // namespace tavorine
