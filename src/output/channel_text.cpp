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

namespace {

int ReadLeadingInteger(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r'))) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  int value = 0;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) value = value * 10 + (text[at] - '0');
  return negative ? -value : value;
}

}  // namespace

ChannelSelection ReadChannelSelection(std::string_view optionsText, std::string_view optionsAsGiven) {
  constexpr std::string_view kWord = "CH=";
  const std::size_t at = optionsText.find(kWord);
  if (at == std::string_view::npos) return {};
  const std::size_t from = at + kWord.size();
  std::string_view digits = from < optionsAsGiven.size() ? optionsAsGiven.substr(from, 3) : std::string_view();
  digits = digits.substr(0, digits.find(','));
  return {true, ReadLeadingInteger(digits)};
}

}  // namespace tavorine
