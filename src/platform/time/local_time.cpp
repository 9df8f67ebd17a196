#include "platform/time/local_time.h"

#include <cstdio>
#include <ctime>

namespace tavorine {

std::string LocalTimeOfDay(std::time_t at) {
  std::tm parts{};
#ifdef _WIN32
  localtime_s(&parts, &at);
#else
  localtime_r(&at, &parts);
#endif
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", parts.tm_hour, parts.tm_min, parts.tm_sec);
  return text;
}

}  // namespace tavorine
