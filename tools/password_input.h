#pragma once
#include <optional>
#include <string>

namespace tavorine {

// The password for a new profile. From a terminal it is asked for twice
// without echo (prompts on standard error); empty optional when the two
// entries differ. Otherwise it is the first line of standard input without
// its line end, so scripts can pipe it in and it never shows in a process
// listing. An empty input gives an empty password, which the caller refuses.
std::optional<std::string> ReadNewPassword();

}  // namespace tavorine
