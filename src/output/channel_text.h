#pragma once
#include <string>
#include <string_view>

namespace tavorine {

// The identifier the Corvanta form writes after "Message." and "Statistic.":
// the name with blank / \ [ ] * ( ) : - turned into "_", then its first "."
// turned into "_".
std::string ChannelIdent(std::string_view name);

// The unit as the plain-text forms show it: "" is "#", "PerCent" is "%",
// "TimeResponse" is "mSec", any other unit is shown as it is.
std::string_view DisplayUnit(std::string_view unit);

// The one channel the Brantle form prints, when the options select one: its
// number, counted from 1 as the channels are written.
struct ChannelSelection {
  bool active = false;
  int channel = 0;
};

}  // namespace tavorine
