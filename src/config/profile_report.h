#pragma once
#include <string>
#include <string_view>

#include "config/profile_fields.h"
#include "config/profile_reader.h"

namespace tavorine {

// Why the reader refuses this value in this field ("needs at least 3
// characters", ...), or empty when it takes it.
std::string LengthRefusal(const ProfileField& field, std::string_view value);

// What the sensor makes of a profile, for people: one line per field, each
// value in quotes (so blanks at either end show, and bytes a terminal would
// act on as \xNN), the password only by its length and whether it decodes,
// and why a value is refused.
std::string ProfileReport(const ProfileReading& reading);

}  // namespace tavorine
