#include "record_writer.h"

#include <cstring>

#include "field_value.h"

namespace rfcsim {

std::string ValueBytes(const SystemDescription& system, const FieldSpec& field) {
  if (const std::string* bytes = system.Value(field.name)) return *bytes;
  return EncodeField(field, field.value).bytes;
}

std::string RecordBytes(const SystemDescription& system, const StructureSpec& structure) {
  std::string record(structure.size, '\0');
  for (const FieldSpec& field : structure.fields) {
    record.replace(field.position, field.length, ValueBytes(system, field));
  }
  return record;
}

void WriteImporting(const SystemDescription& system, std::span<const ParameterSpec> parameters, RFC_PARAMETER* given) {
  for (size_t i = 0; i < parameters.size(); ++i) {
    const ParameterSpec& known = parameters[i];
    const std::string bytes = known.structure.empty() ? ValueBytes(system, known.field)
                                                     : RecordBytes(system, *FindStructure(known.structure));
    std::memcpy(given[i].addr, bytes.data(), known.field.length);
  }
}

}  // namespace rfcsim
