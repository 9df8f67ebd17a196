#pragma once
#include <optional>
#include <string>
#include <vector>

namespace tavorine {

// The text for "--version" or "--help" as the first argument, nothing for
// every other command line. These two words are never profile names.
std::optional<std::string> UsageText(const std::vector<std::string>& arguments);

}  // namespace tavorine
