#pragma once
#include <string>

namespace tavorine {

// FILE as a refusal names it. The Linux build reads names as Windows reads
// them, so "/tmp/a.P00" lies on drive C: the refusal also names the file that
// was tried, there and wherever else the two differ.
std::string FileNamed(const std::string& file);

}  // namespace tavorine
