#include "password_input.h"

#include <iostream>

#include "platform/process/console_input.h"

namespace tavorine {

namespace {

std::string FirstLine() {
  std::string line;
  std::getline(std::cin, line);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

std::string Prompted(const char* prompt) {
  std::cerr << prompt << std::flush;
  std::string line = ReadWithoutEcho(FirstLine);
  std::cerr << '\n';
  return line;
}

}  // namespace

std::optional<std::string> ReadNewPassword() {
  if (!InputIsTerminal()) return FirstLine();
  std::string first = Prompted("Password for the profile: ");
  if (Prompted("The same password again: ") != first) return std::nullopt;
  return first;
}

}  // namespace tavorine
