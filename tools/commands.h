#pragma once
#include <string>
#include <vector>

namespace tavorine {

// Each command takes the arguments after its name, prints its report on
// standard output and its refusals on standard error, and returns the exit
// status (see usage.h).
int RunWriteCommand(const std::vector<std::string>& arguments);
int RunCheckCommand(const std::vector<std::string>& arguments);

}  // namespace tavorine
