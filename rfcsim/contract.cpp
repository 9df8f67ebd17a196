#include "contract.h"

#include <cstdio>
#include <cstring>

namespace rfcsim {
namespace {

std::string Mismatch(std::string_view what, std::string_view aspect, uint64_t given, uint64_t expected) {
  return std::string(what) + " " + std::string(aspect) + " " + std::to_string(given) + ", expected " +
         std::to_string(expected);
}

std::string Quoted(std::string_view bytes) {
  std::string quoted(1, '"');
  quoted += Shown(bytes);
  quoted += '"';
  return quoted;
}

std::string CheckField(const KnownStructure& known, uint32_t index, const RFC_TYPE_ELEMENT& element) {
  const KnownField& field = known.fields[index];
  const std::string where = "structure " + std::string(known.name) + " field " + std::to_string(index + 1);
  if (!element.name) return where + " has no name, expected " + std::string(field.name);
  if (element.name != field.name) return where + " is " + Quoted(element.name) + ", expected " + std::string(field.name);
  const std::string what = "structure " + std::string(known.name) + " field " + std::string(field.name);
  if (element.type != field.type) return Mismatch(what, "type", element.type, field.type);
  if (element.length != field.length) return Mismatch(what, "length", element.length, field.length);
  if (element.decimals != field.decimals) return Mismatch(what, "decimals", element.decimals, field.decimals);
  if (element.offset != 0) return Mismatch(what, "offset", element.offset, 0);
  return {};
}

std::string CheckType(const std::string& what, const KnownParameter& known, uint32_t type,
                      const TypeHandleOf& typeHandleOf) {
  if (known.structure.empty()) {
    return type == known.field.type ? std::string() : Mismatch(what, "type", type, known.field.type);
  }
  const RFC_TYPEHANDLE handle = typeHandleOf(known.structure);
  if (handle == 0) {
    return what + " type " + std::to_string(type) + ", expected the type handle of " + std::string(known.structure) +
           ", which is not installed";
  }
  if (type != handle) {
    return Mismatch(what, "type", type, handle) + " (the type handle of " + std::string(known.structure) + ")";
  }
  return {};
}

std::string CheckParameter(std::string_view role, size_t index, const KnownParameter& known,
                           const RFC_PARAMETER& given, const TypeHandleOf& typeHandleOf) {
  const std::string expectedName(known.field.name);
  const std::string where = std::string(role) + " parameter " + std::to_string(index + 1);
  if (!given.name) return where + " is the terminator, expected " + expectedName;
  if (given.name != known.field.name) return where + " is " + Quoted(given.name) + ", expected " + expectedName;
  const std::string what = std::string(role) + " parameter " + expectedName;
  if (given.nlen != known.field.name.size()) return Mismatch(what, "name length", given.nlen, known.field.name.size());
  if (std::string problem = CheckType(what, known, given.type, typeHandleOf); !problem.empty()) return problem;
  if (given.leng != known.field.length) return Mismatch(what, "length", given.leng, known.field.length);
  if (!given.addr) return what + " has no address";
  if (role != "exporting") return {};
  std::string expectedValue(known.field.value);
  expectedValue.resize(known.field.length, ' ');
  const std::string_view value(static_cast<const char*>(given.addr), given.leng);
  if (value != expectedValue) return what + " value " + Quoted(value) + ", expected " + Quoted(expectedValue);
  return {};
}

std::string CheckTable(size_t index, const KnownTable& known, const RFC_TABLE& given, const TypeHandleOf& typeHandleOf,
                       const SimulatedTables& tables) {
  const std::string expectedName(known.name);
  const std::string where = "table " + std::to_string(index + 1);
  if (!given.name) return where + " is the terminator, expected " + expectedName;
  if (given.name != known.name) return where + " is " + Quoted(given.name) + ", expected " + expectedName;
  const std::string what = "table " + expectedName;
  if (given.nlen != known.name.size()) return Mismatch(what, "name length", given.nlen, known.name.size());
  // The library fills these in itself from the table handle.
  if (given.leng != 0) return Mismatch(what, "leng", given.leng, 0);
  if (given.itmode != 0) return Mismatch(what, "itmode", static_cast<uint32_t>(given.itmode), 0);
  if (given.newitab != 0) return Mismatch(what, "newitab", static_cast<uint32_t>(given.newitab), 0);
  const RFC_TYPEHANDLE handle = typeHandleOf(known.rowStructure);
  if (handle == 0) {
    return what + " type " + std::to_string(given.type) + ", expected the type handle of " +
           std::string(known.rowStructure) + ", which is not installed";
  }
  if (given.type != handle) {
    return Mismatch(what, "type", given.type, handle) + " (the type handle of " + std::string(known.rowStructure) + ")";
  }
  const SimulatedTable* table = tables.Find(given.ithandle);
  if (!table) return what + " carries no table handle from ItCreate";
  if (table->Name() != known.name) return what + " carries the table created as " + Quoted(table->Name());
  if (table->RowLength() != known.rowLength) return Mismatch(what, "row length", table->RowLength(), known.rowLength);
  return {};
}

// The library writes every importing value to its address, so two buffers
// that share a byte would overwrite each other.
std::string CheckOverlap(const RFC_PARAMETER* given, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const auto* first = static_cast<const char*>(given[i].addr);
    for (size_t j = i + 1; j < count; ++j) {
      const auto* second = static_cast<const char*>(given[j].addr);
      if (first < second + given[j].leng && second < first + given[i].leng) {
        return "importing parameters " + std::string(given[i].name) + " and " + std::string(given[j].name) +
               " share memory";
      }
    }
  }
  return {};
}

}  // namespace

std::string Shown(std::string_view text) {
  std::string shown;
  for (unsigned char c : text.substr(0, 64)) {
    if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
      shown += static_cast<char>(c);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
      shown += escaped;
    }
  }
  if (text.size() > 64) shown += "...";
  return shown;
}

std::string CheckStructure(const char* name, const RFC_TYPE_ELEMENT* elements, uint32_t count) {
  if (!name) return "structure without a name";
  const KnownStructure* known = FindStructure(name);
  if (!known) return "unknown structure " + Quoted(name);
  const std::string what = "structure " + std::string(known->name);
  if (count != known->fields.size()) return Mismatch(what, "field count", count, known->fields.size());
  if (!elements) return what + " has no field descriptors";
  for (uint32_t i = 0; i < count; ++i) {
    if (std::string problem = CheckField(*known, i, elements[i]); !problem.empty()) return problem;
  }
  return {};
}

std::string CheckParameters(std::string_view role, std::span<const KnownParameter> expected,
                            const RFC_PARAMETER* given, const TypeHandleOf& typeHandleOf) {
  if (!given) return std::string(role) + " parameter array missing";
  for (size_t i = 0; i < expected.size(); ++i) {
    if (std::string problem = CheckParameter(role, i, expected[i], given[i], typeHandleOf); !problem.empty()) {
      return problem;
    }
  }
  const RFC_PARAMETER& end = given[expected.size()];
  if (end.name) {
    return std::string(role) + " parameter " + std::to_string(expected.size() + 1) + " is " + Quoted(end.name) +
           ", expected the terminator";
  }
  return role == "importing" ? CheckOverlap(given, expected.size()) : std::string();
}

std::string CheckTables(std::span<const KnownTable> expected, const RFC_TABLE* given, const TypeHandleOf& typeHandleOf,
                        const SimulatedTables& tables) {
  if (!given) return "table array missing";
  for (size_t i = 0; i < expected.size(); ++i) {
    if (std::string problem = CheckTable(i, expected[i], given[i], typeHandleOf, tables); !problem.empty()) {
      return problem;
    }
  }
  const RFC_TABLE& end = given[expected.size()];
  if (end.name) {
    return "table " + std::to_string(expected.size() + 1) + " is " + Quoted(end.name) + ", expected the terminator";
  }
  return {};
}

}  // namespace rfcsim
