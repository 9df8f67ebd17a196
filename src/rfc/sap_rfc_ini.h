#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "rfc/rfc_api.h"

namespace tavorine {

// The bytes of "SapRfc.<destination>" in the working directory, empty when it
// does not open. A destination that holds a path separator or a drive colon
// names no such file: a profile must not make the program copy a file from
// elsewhere into the library's configuration.
std::optional<std::string> ReadDestinationIni(std::string_view destination);

// Writes the bytes as "SapRfc.ini" in the working directory and runs open
// (RfcOpenEx, which reads that file) while no other run can replace it: an
// exclusive lock on "SapRfc.ini.lck" is held from before the copy until open
// returns, and the copy goes to a temporary file renamed into place, so no run
// ever reads a half-written or foreign "SapRfc.ini". Empty optional, without
// calling open, when "SapRfc.ini" cannot be written.
std::optional<RFC_HANDLE> WithSapRfcIni(std::string_view contents, const std::function<RFC_HANDLE()>& open);

}  // namespace tavorine
