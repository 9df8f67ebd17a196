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
struct FieldSpec {
  std::string_view name;
  uint32_t type;
  uint32_t length;
  uint32_t decimals;
  uint32_t position;
  std::string_view value;
};

struct StructureSpec {
  std::string_view name;
  uint32_t size;
  std::span<const FieldSpec> fields;
};

// A parameter is either scalar (`structure` empty, type and length in `field`)
// or a whole record of an installed structure.
struct ParameterSpec {
  FieldSpec field;
  std::string_view structure;
};

struct TableSpec {
  std::string_view name;
  std::string_view rowStructure;
  uint32_t rowLength;
};

struct FunctionSpec {
  std::string_view name;
  std::span<const ParameterSpec> exporting;
  std::span<const ParameterSpec> importing;
  std::span<const TableSpec> tables;
};

std::span<const StructureSpec> Structures();
std::span<const FunctionSpec> Functions();

const StructureSpec* FindStructure(std::string_view name);
const FunctionSpec* FindFunction(std::string_view name);

// A value the description may set: a structure field or a scalar importing
// parameter, found by its upper-case name.
const FieldSpec* FindValueSpec(std::string_view upperName);

}  // namespace rfcsim
