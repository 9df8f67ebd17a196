#include "checks/missing_objects_check.h"

#include <array>
#include <memory>

#include "checks/field_descriptors.h"
#include "checks/received_text.h"

namespace tavorine {

namespace {

constexpr std::uint32_t kDb02InfoLength = 120;
constexpr std::uint32_t kMissObjLength = 40;

FieldDescriptors Db02InfDb4Fields() {
  return Joined({
      {{"DBSYS", TYPC, 10, 0, 0}, {"FS_A_DATE", TYPDATE, 8, 0, 0}, {"FS_A_TIME", TYPTIME, 6, 0, 0}},
      Characters({{"SYSID", 8}}),
      SameType(TYPINT, 4, {"TAB_CNT", "CST_CNT", "IDX_CNT"}),
      SameType(TYPP, 8, {"TAB_SIZE", "CST_SIZE", "IDX_SIZE"}),
      SameType(TYPINT, 4, {"TAB_MIS_DB", "CST_MIS_DB", "IDX_MIS_DB", "VIE_MIS_DB", "TAB_MIS_DD", "IDX_MIS_DD",
                           "CST_MIS_DD", "VIE_MIS_DD"}),
      {{"SYS_ASP_P", TYPP, 8, 5, 0}, {"SYS_ASP_S", TYPP, 6, 1, 0}, {"ASP_TOT_S", TYPP, 6, 1, 0}},
  });
}

// The six tables of object names the call fills, in the order it takes them.
constexpr std::array<std::pair<const char*, std::uint32_t>, 6> kObjectTables{{
    {"ADDTL_INDEX", 11},
    {"ADDTL_TABLES", 12},
    {"ADDTL_VIEWS", 11},
    {"MISS_INDEX", 10},
    {"MISS_TABLES", 11},
    {"MISS_VIEWS", 10},
}};

struct Db02Imports {
  std::int32_t API_QWCRSSTS_RC = 0;
  unsigned char DB02_DISPLAYED_INFO[kDb02InfoLength]{};
};

RFC_RC CallDb02Db4GetInfo(RfcSession& session, RFC_HANDLE handle,
                          const std::array<std::unique_ptr<InternalTable>, 6>& tables, Db02Imports& in,
                          std::string& exception) {
  const RFC_TYPEHANDLE db02 = session.Structure("DB02INFDB4", Db02InfDb4Fields());
  const RFC_TYPEHANDLE missObj = session.Structure("MISSOBJ", {{"NAME", TYPC, kMissObjLength, 0, 0}});
  RFC_PARAMETER nothing[] = {{nullptr, 0, 0, 0, nullptr}};
  RFC_PARAMETER importing[] = {
      {"API_QWCRSSTS_RC", 15, TYPINT, 4, &in.API_QWCRSSTS_RC},
      {"DB02_DISPLAYED_INFO", 19, db02, kDb02InfoLength, in.DB02_DISPLAYED_INFO},
      {nullptr, 0, 0, 0, nullptr},
  };
  std::array<RFC_TABLE, kObjectTables.size() + 1> elements{};
  for (std::size_t i = 0; i < kObjectTables.size(); ++i) {
    elements[i] = {kObjectTables[i].first, kObjectTables[i].second, missObj, 0, tables[i]->Handle(), 0, 0};
  }
  return session.CallAndReceive(handle, "DB02_DB4_GET_INFO", nothing, importing, elements.data(), exception);
}

std::string WithoutTrailingBlanks(std::string text) {
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

}  // namespace

DictionaryState DictionaryStateOf(const unsigned char* record) {
  DictionaryState state;
  state.DBSYS = WithoutTrailingBlanks(ReceivedText(record, 0, 10));
  state.FS_A_DATE = ReceivedText(record, 10, 8);
  state.FS_A_TIME = ReceivedText(record, 18, 6);
  state.SYSID = ReceivedText(record, 24, 8);
  state.TAB_MIS_DD = ReceivedInt(record, 84);
  state.IDX_MIS_DD = ReceivedInt(record, 88);
  state.CST_MIS_DD = ReceivedInt(record, 92);
  state.VIE_MIS_DD = ReceivedInt(record, 96);
  return state;
}

CallOutcome MissingObjectsCheck(RfcSession& session, RFC_HANDLE handle, DictionaryState& state) {
  std::array<std::unique_ptr<InternalTable>, kObjectTables.size()> tables;
  for (std::size_t i = 0; i < kObjectTables.size(); ++i) {
    tables[i] = std::make_unique<InternalTable>(session, kObjectTables[i].first, kMissObjLength);
  }
  Db02Imports in;
  CallOutcome outcome;
  outcome.code = CallDb02Db4GetInfo(session, handle, tables, in, outcome.exception);
  if (outcome.Succeeded()) state = DictionaryStateOf(in.DB02_DISPLAYED_INFO);
  for (auto& table : tables) table->Delete();
  return outcome;
}

}  // namespace tavorine
