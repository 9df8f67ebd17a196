#pragma once
// The simulated ERP system's own view of the three function modules and the
// four structures they use. Every check of the program's descriptors and
// parameter arrays compares against these tables, and every value the
// simulator sends is laid out by them.
#include <cstdint>
#include <span>
#include <string_view>

namespace rfcsim {

// One field of a structure, or one scalar parameter. `value` is what the
// simulator sends when the description names no other value (for exporting
// parameters: what the caller must send).
struct KnownField {
  std::string_view name;
  uint32_t type;
  uint32_t length;
  uint32_t decimals;
  uint32_t position;
  std::string_view value;
};

struct KnownStructure {
  std::string_view name;
  uint32_t size;
  std::span<const KnownField> fields;
};

// A parameter is either scalar (`structure` empty, type and length in `field`)
// or a whole record of an installed structure.
struct KnownParameter {
  KnownField field;
  std::string_view structure;
};

struct KnownTable {
  std::string_view name;
  std::string_view rowStructure;
  uint32_t rowLength;
};

struct KnownFunction {
  std::string_view name;
  std::span<const KnownParameter> exporting;
  std::span<const KnownParameter> importing;
  std::span<const KnownTable> tables;
};

std::span<const KnownStructure> Structures();
std::span<const KnownFunction> Functions();

const KnownStructure* FindStructure(std::string_view name);
const KnownFunction* FindFunction(std::string_view name);

// A value the description may set: a structure field or a scalar importing
// parameter, found by its upper-case name.
const KnownField* FindSettableValue(std::string_view upperName);

}  // namespace rfcsim
