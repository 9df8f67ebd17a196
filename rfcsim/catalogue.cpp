#include "catalogue.h"

#include <algorithm>
#include <array>

#include "rfc_abi.h"

namespace rfcsim {
namespace {

constexpr KnownField Chars(std::string_view name, uint32_t length, std::string_view value = "") {
  return {name, RFCTYPE_CHAR, length, 0, 0, value};
}
constexpr KnownField Int4(std::string_view name, std::string_view value = "0") {
  return {name, RFCTYPE_INT, 4, 0, 0, value};
}
constexpr KnownField Int2(std::string_view name) { return {name, RFCTYPE_INT2, 2, 0, 0, "0"}; }
constexpr KnownField Packed(std::string_view name, uint32_t length, uint32_t decimals = 0) {
  return {name, RFCTYPE_BCD, length, decimals, 0, "0"};
}
constexpr KnownField Date(std::string_view name) { return {name, RFCTYPE_DATE, 8, 0, 0, "00000000"}; }
constexpr KnownField Time(std::string_view name) { return {name, RFCTYPE_TIME, 6, 0, 0, "000000"}; }

constexpr bool IsInteger(const KnownField& field) { return field.type == RFCTYPE_INT || field.type == RFCTYPE_INT2; }

// The ERP system lays a record out field after field, each integer at a
// multiple of its own length, and rounds the whole up to its widest integer.
template <size_t N>
struct Layout {
  std::string_view name;
  std::array<KnownField, N> fields;
  uint32_t size = 0;

  constexpr Layout(std::string_view structure, std::array<KnownField, N> given) : name(structure), fields(given) {
    uint32_t alignment = 1;
    for (KnownField& field : fields) {
      const uint32_t step = IsInteger(field) ? field.length : 1;
      size = (size + step - 1) / step * step;
      field.position = size;
      size += field.length;
      alignment = std::max(alignment, step);
    }
    size = (size + alignment - 1) / alignment * alignment;
  }
  constexpr KnownStructure Entry() const { return {name, size, fields}; }
};

constexpr Layout kCpuAll("CPU_ALL", std::array{
    Int2("TYPE"), Int2("SUBTYPE"), Int2("SERIALNR"), Int4("NBR_CPU", "1"), Int4("LOAD1_AVG"), Int4("LOAD5_AVG"),
    Int4("LOAD15_AVG"), Int4("INT_SEC"), Int4("SYSC_SEC"), Int4("CS_SEC"), Int4("USR_TOTAL"), Int4("SYS_TOTAL"),
    Int4("IDLE_TOTAL", "100")});

// RFCHOST, RFCDEST and RFCSYSID default to the system's own host and
// destination; the description reader fills those in.
constexpr Layout kRfcsi("RFCSI", std::array{
    Chars("RFCPROTO", 3, "011"), Chars("RFCCHARTYP", 4, "1100"), Chars("RFCINTTYP", 3, "LIT"),
    Chars("RFCFLOTYP", 3, "IE3"), Chars("RFCDEST", 32), Chars("RFCHOST", 8), Chars("RFCSYSID", 8),
    Chars("RFCDATABS", 8), Chars("RFCDBHOST", 32), Chars("RFCDBSYS", 10, "DB4"), Chars("RFCSAPRL", 4, "700"),
    Chars("RFCMACH", 5, "324"), Chars("RFCOPSYS", 10, "OS400"), Chars("RFCTZONE", 6, "3600"), Chars("RFCDAYST", 1),
    Chars("RFCIPADDR", 15), Chars("RFCKERNRL", 4, "700"), Chars("RFCSI_RESV", 44)});

// SYSID defaults to the destination; the description reader fills it in.
constexpr Layout kDb02InfDb4("DB02INFDB4", std::array{
    Chars("DBSYS", 10, "DB4"), Date("FS_A_DATE"), Time("FS_A_TIME"), Chars("SYSID", 8), Int4("TAB_CNT"),
    Int4("CST_CNT"), Int4("IDX_CNT"), Packed("TAB_SIZE", 8), Packed("CST_SIZE", 8), Packed("IDX_SIZE", 8),
    Int4("TAB_MIS_DB"), Int4("CST_MIS_DB"), Int4("IDX_MIS_DB"), Int4("VIE_MIS_DB"), Int4("TAB_MIS_DD"),
    Int4("IDX_MIS_DD"), Int4("CST_MIS_DD"), Int4("VIE_MIS_DD"), Packed("SYS_ASP_P", 8, 5), Packed("SYS_ASP_S", 6, 1),
    Packed("ASP_TOT_S", 6, 1)});

constexpr Layout kMissObj("MISSOBJ", std::array{Chars("NAME", 40)});

constexpr std::array kStructures = {kCpuAll.Entry(), kRfcsi.Entry(), kDb02InfDb4.Entry(), kMissObj.Entry()};

constexpr KnownParameter Scalar(KnownField field) { return {field, ""}; }
// A whole record of a structure that the program installs before the call.
template <size_t N>
constexpr KnownParameter Record(std::string_view name, const Layout<N>& structure) {
  return {{name, 0, structure.size, 0, 0, ""}, structure.name};
}
template <size_t N>
constexpr KnownTable Table(std::string_view name, const Layout<N>& row) {
  return {name, row.name, row.size};
}

// GET_CPU_ALL reads the local system, so no logical destination: 32 blanks.
constexpr std::string_view kNoDestination = "                                ";

constexpr std::array kCpuExporting = {Scalar(Chars("LOCAL_REMOTE", 6, "LOCAL ")),
                                      Scalar(Chars("LOGICAL_DESTINATION", 32, kNoDestination))};

constexpr std::array kCpuImporting = {
    Scalar(Int4("ACTIVEFLAG", "1")),   Scalar(Int4("DETAILSCOLL")),
    Scalar(Int4("DETAILSMODE")),       Scalar(Int4("DETAILSREQI")),
    Scalar(Chars("F_CPU_ALL_READ", 3, "X")), Scalar(Int4("INTERVAL", "10")),
    Scalar(Int4("LASTCOLLINT", "10")), Scalar(Chars("LASTCOLLWRT", 25, "20221208175418")),
    Scalar(Int4("NORMCOLLINT", "10")), Scalar(Chars("OP_SYSTEM", 52, "OS400"))};

constexpr std::array kCpuTables = {Table("TF_CPU_ALL", kCpuAll)};

constexpr std::array kSystemInfoImporting = {
    Scalar(Int4("CURRENT_RESOURCES", "5")), Scalar(Chars("DIALOG_USER_TYPE", 1)),
    Scalar(Int4("MAXIMAL_RESOURCES", "10")), Scalar(Int4("RECOMMENDED_DELAY")), Record("RFCSI_EXPORT", kRfcsi),
    Scalar(Chars("RFC_LOGIN_COMPLETE", 1, "X"))};

constexpr std::array kDb02Importing = {Scalar(Int4("API_QWCRSSTS_RC")),
                                       Record("DB02_DISPLAYED_INFO", kDb02InfDb4)};

constexpr std::array kDb02Tables = {Table("ADDTL_INDEX", kMissObj), Table("ADDTL_TABLES", kMissObj),
                                    Table("ADDTL_VIEWS", kMissObj),  Table("MISS_INDEX", kMissObj),
                                    Table("MISS_TABLES", kMissObj),  Table("MISS_VIEWS", kMissObj)};

constexpr std::array<KnownFunction, 3> kFunctions = {{
    {"GET_CPU_ALL", kCpuExporting, kCpuImporting, kCpuTables},
    {"RFC_SYSTEM_INFO", {}, kSystemInfoImporting, {}},
    {"DB02_DB4_GET_INFO", {}, kDb02Importing, kDb02Tables},
}};

// Calls visit(field) for every value the description may set: the fields of
// the structures the system sends, and the scalar importing parameters.
template <typename Visit>
constexpr void ForEachSettableValue(Visit visit) {
  for (const KnownStructure& structure : kStructures) {
    if (structure.name == "MISSOBJ") continue;
    for (const KnownField& field : structure.fields) visit(field);
  }
  for (const KnownFunction& function : kFunctions) {
    for (const KnownParameter& parameter : function.importing) {
      if (parameter.structure.empty()) visit(parameter.field);
    }
  }
}

constexpr size_t kSettableValueCount = [] {
  size_t count = 0;
  ForEachSettableValue([&count](const KnownField&) { ++count; });
  return count;
}();

// Sorted by name, since every line of a description looks its key up here.
constexpr auto kSettableValuesByName = [] {
  std::array<const KnownField*, kSettableValueCount> index{};
  size_t at = 0;
  ForEachSettableValue([&](const KnownField& field) { index[at++] = &field; });
  std::sort(index.begin(), index.end(), [](const KnownField* a, const KnownField* b) { return a->name < b->name; });
  return index;
}();

}  // namespace

std::span<const KnownStructure> Structures() { return kStructures; }
std::span<const KnownFunction> Functions() { return kFunctions; }

const KnownStructure* FindStructure(std::string_view name) {
  for (const KnownStructure& structure : kStructures) {
    if (structure.name == name) return &structure;
  }
  return nullptr;
}

const KnownFunction* FindFunction(std::string_view name) {
  for (const KnownFunction& function : kFunctions) {
    if (function.name == name) return &function;
  }
  return nullptr;
}

const KnownField* FindSettableValue(std::string_view upperName) {
  const auto byName = [](const KnownField* field, std::string_view name) { return field->name < name; };
  const auto found = std::lower_bound(kSettableValuesByName.begin(), kSettableValuesByName.end(), upperName, byName);
  return found != kSettableValuesByName.end() && (*found)->name == upperName ? *found : nullptr;
}

}  // namespace rfcsim
