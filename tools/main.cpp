#include <iostream>
#include <string>
#include <vector>

#include "commands.h"
#include "usage.h"

namespace tavorine {
namespace {

int RunTool(const std::vector<std::string>& arguments) {
  const std::string command = arguments.empty() ? std::string() : arguments.front();
  const std::vector<std::string> rest(arguments.begin() + (arguments.empty() ? 0 : 1), arguments.end());
  if (command == "write") return RunWriteCommand(rest);
  if (command == "check") return RunCheckCommand(rest);
  if (command == "--help" && rest.empty()) {
    std::cout << UsageText();
    return kToolDone;
  }
  if (command == "--version" && rest.empty()) {
    std::cout << kToolVersion << '\n';
    return kToolDone;
  }
  std::cerr << "tavorine-profile: "
            << (command.empty() ? std::string("no command given") : "unknown command " + command) << "\n\n"
            << UsageText();
  return kToolBadInput;
}

}  // namespace
}  // namespace tavorine

int main(int argc, char** argv) { return tavorine::RunTool(std::vector<std::string>(argv + 1, argv + argc)); }
