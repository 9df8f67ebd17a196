#pragma once
#include <span>
#include <string>

#include "catalogue.h"
#include "description.h"
#include "rfc_abi.h"

namespace rfcsim {

// The bytes a system sends for one field: the description's value or the
// field's default.
std::string ValueBytes(const SystemDescription& system, const KnownField& field);

// A whole record laid out at the fields' positions; padding bytes are zero.
std::string RecordBytes(const SystemDescription& system, const KnownStructure& structure);

// Writes every importing value to its address, exactly `leng` bytes each.
// The parameters must have passed CheckParameters.
void WriteImporting(const SystemDescription& system, std::span<const KnownParameter> parameters, RFC_PARAMETER* given);

}  // namespace rfcsim
