#pragma once
#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

#include "rfc/rfc_api.h"

namespace tavorine {

// Field descriptors for RfcInstallStructure, written as the structures are
// laid out: runs of fields of one type. Offsets are always given as 0.
using FieldDescriptors = std::vector<RFC_TYPE_ELEMENT>;

// Fields of one type and length, in order.
inline FieldDescriptors SameType(std::uint32_t type, std::uint32_t length, std::initializer_list<const char*> names) {
  FieldDescriptors fields;
  for (const char* name : names) fields.push_back({name, type, length, 0, 0});
  return fields;
}

// Character fields, each with its length.
inline FieldDescriptors Characters(std::initializer_list<std::pair<const char*, std::uint32_t>> fields) {
  FieldDescriptors descriptors;
  for (const auto& [name, length] : fields) descriptors.push_back({name, TYPC, length, 0, 0});
  return descriptors;
}

// The runs one after the other.
inline FieldDescriptors Joined(std::initializer_list<FieldDescriptors> runs) {
  FieldDescriptors fields;
  for (const FieldDescriptors& run : runs) fields.insert(fields.end(), run.begin(), run.end());
  return fields;
}

}  // namespace tavorine
