#pragma once
// Checks of the logon data as the program hands them over, before the
// system sees them. Each gives the first mismatch as one line of text, or
// empty when the call is sound. None of them ever shows the password.
#include <string>

#include "rfc_abi.h"
#include "saprfc_ini.h"

namespace rfcsim {

std::string CheckOpenOptions(const RFC_OPTIONS* options);

// The connect string carries user and password as the profile has them.
std::string CheckConnectStringValues(const ConnectString& parts);

}  // namespace rfcsim
