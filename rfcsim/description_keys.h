#pragma once
#include <string>
#include <string_view>

#include "description.h"

namespace rfcsim {

// Applies one `key = value` line to a system. The key is upper-cased; the
// value is already unquoted. Gives the problem, or empty when the line fits.
std::string ApplyDescriptionKey(SystemDescription& system, std::string_view key, std::string_view value);

// Fills the values that default to the system's own destination and host.
void ApplyDerivedDefaults(SystemDescription& system);

}  // namespace rfcsim
