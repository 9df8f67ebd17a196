#include "write_request.h"

#include <set>

#include "field_rules.h"

namespace tavorine {

namespace {

// The password has no option: an empty argument must never select it.
const ProfileField* FieldOfOption(const std::string& option) {
  if (option.empty()) return nullptr;
  for (const ProfileField& field : kProfileFields) {
    if (OptionOf(field) == option) return &field;
  }
  return nullptr;
}

std::string MissingOptions(const std::set<std::string>& given) {
  std::string missing;
  for (const ProfileField& field : kProfileFields) {
    const std::string option = OptionOf(field);
    if (option.empty() || option == "--extcompany") continue;
    if (given.count(option) == 0) missing += (missing.empty() ? "" : ", ") + option;
  }
  return missing;
}

}  // namespace

std::variant<WriteRequest, UsageError> ParseWriteRequest(const std::vector<std::string>& arguments) {
  WriteRequest request;
  request.values.Extcompany = "Tavorine";
  std::set<std::string> given;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--force") {
      request.force = true;
    } else if (argument == "--password" || argument.rfind("--password=", 0) == 0) {
      return UsageError{"the password is never taken from the command line; give it on standard input"};
    } else if (const ProfileField* field = FieldOfOption(argument)) {
      if (i + 1 == arguments.size()) return UsageError{argument + " needs a value"};
      if (!given.insert(argument).second) return UsageError{argument + " is given twice"};
      request.values.*field->member = arguments[++i];
    } else if (argument.rfind("-", 0) == 0 && argument.size() > 1) {
      return UsageError{"unknown option " + argument};
    } else if (request.file.empty()) {
      request.file = argument;
    } else {
      return UsageError{"more than one FILE: " + argument};
    }
  }
  if (request.file.empty()) return UsageError{"write needs a FILE"};
  const std::string missing = MissingOptions(given);
  if (!missing.empty()) return UsageError{"write needs " + missing};
  return request;
}

}  // namespace tavorine
