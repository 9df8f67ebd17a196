#pragma once
// Checks of what the program hands to the library against the simulator's
// own tables. Each gives the first mismatch as one line of text ("field
// NBR_CPU length 2, expected 4"), or empty when everything matches.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "catalogue.h"
#include "simulated_tables.h"
#include "rfc_abi.h"

namespace rfcsim {

// The type handle installed for a structure name, 0 when not installed.
using TypeHandleOf = std::function<RFC_TYPEHANDLE(std::string_view structure)>;

std::string CheckStructure(const char* name, const RFC_TYPE_ELEMENT* elements, uint32_t count);

// `role` is "exporting" or "importing"; exporting values are compared with
// what the ERP system expects to receive.
std::string CheckParameters(std::string_view role, std::span<const KnownParameter> expected,
                            const RFC_PARAMETER* given, const TypeHandleOf& typeHandleOf);

std::string CheckTables(std::span<const KnownTable> expected, const RFC_TABLE* given, const TypeHandleOf& typeHandleOf,
                        const SimulatedTables& tables);

// A foreign text as it may appear in a message: cut, control bytes escaped.
std::string Shown(std::string_view text);

}  // namespace rfcsim
