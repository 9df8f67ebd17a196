#include "record_writer.h"

#include <cstring>

#include "field_value.h"

namespace rfcsim {

std::string ValueBytes(const SystemDescription& system, const FieldSpec& field) {
  const auto found = system.values.find(field.name);
  if (found != system.values.end()) return found->second;
  return EncodeField(field, field.value).bytes;
}

std::string RecordBytes(const SystemDescription& system, const StructureSpec& structure) {
  std::string record(structure.size, '\0');
  for (const FieldSpec& field : structure.fields) {
    record.replace(field.position, field.length, ValueBytes(system, field));
  }
  return record;
}

void WriteImporting(const SystemDescription& system, std::span<const ParameterSpec> specs, RFC_PARAMETER* given) {
  for (size_t i = 0; i < specs.size(); ++i) {
    const ParameterSpec& spec = specs[i];
    const std::string bytes = spec.structure.empty() ? ValueBytes(system, spec.field)
                                                     : RecordBytes(system, *FindStructure(spec.structure));
    std::memcpy(given[i].addr, bytes.data(), spec.field.length);
  }
}

}  // namespace rfcsim
