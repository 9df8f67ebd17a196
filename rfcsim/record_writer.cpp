#include "record_writer.h"

#include <cstring>

#include "field_value.h"

namespace rfcsim {

std::string ValueBytes(const SystemDescription& system, const KnownField& field) {
  if (const std::string* bytes = system.Value(field.name)) return *bytes;
  return EncodeField(field, field.value).bytes;
}

std::string RecordBytes(const SystemDescription& system, const KnownStructure& structure) {
  std::string record(structure.size, '\0');
  for (const KnownField& field : structure.fields) {
    record.replace(field.position, field.length, ValueBytes(system, field));
  }
  return record;
}

void WriteImporting(const SystemDescription& system, std::span<const KnownParameter> parameters, RFC_PARAMETER* given) {
  for (size_t i = 0; i < parameters.size(); ++i) {
    const KnownParameter& known = parameters[i];
    const std::string bytes = known.structure.empty() ? ValueBytes(system, known.field)
                                                     : RecordBytes(system, *FindStructure(known.structure));
    std::memcpy(given[i].addr, bytes.data(), known.field.length);
  }
}

}  // namespace rfcsim
