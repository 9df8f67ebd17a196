#include "output/channel_text.h"

namespace tavorine {

std::string ChannelIdent(std::string_view name) {
  std::string ident(name);
  for (char& c : ident) {
    if (std::string_view(" /\\[]*():-").find(c) != std::string_view::npos) c = '_';
  }
  const std::size_t dot = ident.find('.');
  if (dot != std::string::npos) ident[dot] = '_';
  return ident;
}

std::string_view DisplayUnit(std::string_view unit) {
  if (unit.empty()) return "#";
  if (unit == "PerCent") return "%";
  if (unit == "TimeResponse") return "mSec";
  return unit;
}

}  // namespace tavorine
