#pragma once
#include <string>
#include <vector>

namespace tavorine {

// One whole sensor call: start-up, the profile located and read, the run of
// one profile or of a listing. Prints the document and returns the exit
// status: 0 finished, 2 failed with a numbered message (the RFC error report
// ends the process itself with 1).
int RunProgram(const std::vector<std::string>& arguments);

}  // namespace tavorine
