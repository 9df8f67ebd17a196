#pragma once
#include <ctime>
#include <string>

namespace tavorine {

// The local time of day at a moment, now by default, as "hh:mm:ss" (24-hour
// clock). The first call reads the system's time zone.
std::string LocalTimeOfDay(std::time_t at = std::time(nullptr));

}  // namespace tavorine
