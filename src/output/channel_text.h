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

// The channel number after "CH=": the characters of the options as typed at
// the position where the upper-cased options hold "CH=", at most three of
// them and none from a comma on, read as a C atoi would (blanks, sign,
// digits; 0 without digits). Empty when the options hold no "CH=".
struct ChannelSelection {
  bool active = false;
  int channel = 0;
};
ChannelSelection ReadChannelSelection(std::string_view optionsText, std::string_view optionsAsGiven);

}  // namespace tavorine
