#pragma once
#include <string>
#include <string_view>

#include "config/profile_fields.h"
#include "config/profile_report.h"

namespace tavorine {

// The command-line option that gives a field's value: "--" and the label in
// lower case without its dots and colon ("--destination"); empty for the
// password, which never comes from the command line.
std::string OptionOf(const ProfileField& field);

const ProfileField& FieldOf(std::string ProfileData::*member);

// Why a value cannot be written at all: a control character would break the
// line or vanish in an editor. Empty when the value can be written.
std::string CharacterRefusal(std::string_view value);

}  // namespace tavorine
