#pragma once
#include <string>
#include <variant>
#include <vector>

#include "config/profile_data.h"

namespace tavorine {

// What "write" was asked to do. values holds every field but the password.
struct WriteRequest {
  std::string file;
  ProfileData values;
  bool force = false;
};

// A command line the tool cannot act on: the reason, shown before the usage.
struct UsageError {
  std::string reason;
};

// Parses the arguments after "write". Every option but --extcompany and
// --force is required; an option given twice is refused rather than guessed.
std::variant<WriteRequest, UsageError> ParseWriteRequest(const std::vector<std::string>& arguments);

}  // namespace tavorine
