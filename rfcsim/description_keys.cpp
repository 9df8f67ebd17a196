#include "description_keys.h"

#include <charconv>
#include <cstdint>

#include "catalogue.h"
#include "field_value.h"
#include "network_keys.h"

namespace rfcsim {
namespace {

std::vector<std::string_view> Words(std::string_view text) {
  std::vector<std::string_view> words;
  size_t at = 0;
  while ((at = text.find_first_not_of(" \t", at)) != std::string_view::npos) {
    const size_t end = text.find_first_of(" \t", at);
    words.push_back(text.substr(at, end - at));
    at = end;
  }
  return words;
}

std::optional<int64_t> Number(std::string_view text, int64_t low, int64_t high) {
  int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < low || value > high) {
    return std::nullopt;
  }
  return value;
}

bool IsTableName(std::string_view name) {
  for (const KnownFunction& function : Functions()) {
    for (const KnownTable& table : function.tables) {
      if (table.name == name) return true;
    }
  }
  return false;
}

std::string CallFailureOf(std::string_view value, CallFailure& failure) {
  const auto words = Words(value);
  const auto code = words.empty() ? std::nullopt : Number(words[0], 1, INT32_MAX);
  if (!code || words.size() > 2) return "expected a code from 1 up, then for codes 2 and 3 an exception name";
  failure.code = static_cast<int32_t>(*code);
  if (words.size() == 2 && failure.code != 2 && failure.code != 3) return "only codes 2 and 3 carry an exception name";
  if (failure.code == 2) failure.exception = words.size() == 2 ? std::string(words[1]) : "NOT_FOUND";
  if (failure.code == 3) failure.exception = words.size() == 2 ? std::string(words[1]) : "SYSTEM_FAILURE";
  return {};
}

std::string NameList(std::string_view value, bool (*known)(std::string_view), std::set<std::string, std::less<>>& names) {
  const auto words = Words(value);
  if (words.empty()) return "expected one or more names";
  for (std::string_view word : words) {
    const std::string name = UpperCase(word);
    if (!known(name)) return "unknown name " + name;
    names.insert(name);
  }
  return {};
}

bool IsStructureName(std::string_view name) { return FindStructure(name) != nullptr; }

std::string ApplyFunctionFailure(SystemDescription& system, std::string_view key, std::string_view value) {
  auto& failures = system.failures;
  for (auto [prefix, target] : {std::pair{std::string_view("FAIL.CALL."), &failures.atCall},
                                std::pair{std::string_view("FAIL.RECEIVE."), &failures.atReceive}}) {
    if (!key.starts_with(prefix)) continue;
    const std::string_view function = key.substr(prefix.size());
    if (!FindFunction(function)) return "unknown function module " + std::string(function);
    return CallFailureOf(value, (*target)[std::string(function)]);
  }
  for (auto [prefix, target] : {std::pair{std::string_view("FAIL.CALLBACK.CALL."), &failures.callbackAtCall},
                                std::pair{std::string_view("FAIL.CALLBACK.RECEIVE."), &failures.callbackAtReceive}}) {
    if (!key.starts_with(prefix)) continue;
    const std::string_view function = key.substr(prefix.size());
    if (!FindFunction(function)) return "unknown function module " + std::string(function);
    (*target)[std::string(function)] = value.empty() ? "simulated library failure" : std::string(value);
    return {};
  }
  return "unknown key " + std::string(key);
}

std::string ApplyFailure(SystemDescription& system, std::string_view key, std::string_view value) {
  auto& failures = system.failures;
  if (key == "FAIL.LOGON") {
    failures.logonRefused = value.empty() ? "Name or password is incorrect (repeat logon)" : std::string(value);
    return {};
  }
  if (key == "FAIL.CALLBACK.LOGON") {
    failures.callbackAtLogon = value.empty() ? "simulated library failure" : std::string(value);
    return {};
  }
  if (key == "FAIL.ITCREATE") return NameList(value, IsTableName, failures.itCreate);
  if (key == "FAIL.ITGETLINE") return NameList(value, IsTableName, failures.itGetLine);
  if (key == "FAIL.ITDELETE") return NameList(value, IsTableName, failures.itDelete);
  if (key == "FAIL.INSTALL") return NameList(value, IsStructureName, failures.install);
  return ApplyFunctionFailure(system, key, value);
}

std::string ApplyValue(SystemDescription& system, std::string_view key, std::string_view value) {
  const KnownField* field = FindSettableValue(key);
  if (!field) return "unknown key " + std::string(key);
  EncodedValue encoded = EncodeField(*field, value);
  if (!encoded.problem.empty()) return std::string(key) + ": " + encoded.problem;
  system.values.emplace_back(field->name, std::move(encoded.bytes));
  return {};
}

void Default(SystemDescription& system, std::string_view name, std::string_view text) {
  const KnownField* field = FindSettableValue(name);
  if (system.Value(field->name)) return;
  system.values.emplace_back(field->name, EncodeField(*field, text.substr(0, field->length)).bytes);
}

}  // namespace

std::string ApplyDescriptionKey(SystemDescription& system, std::string_view key, std::string_view value) {
  if (auto problem = ApplyNetworkKey(system.network, key, value)) return *problem;
  if (key == "CLIENT") system.client = std::string(value);
  else if (key == "USER") system.user = UpperCase(value);
  else if (key == "PASSWORD") system.password = std::string(value);
  else if (key == "LANGUAGE") system.language = std::string(value);
  else if (key == "HOST") system.host = std::string(value);
  else if (key == "GWHOST") system.gatewayHost = std::string(value);
  else if (key == "GWSERVICE") system.gatewayService = std::string(value);
  else if (key == "SYSNR") {
    const auto number = Number(value, 0, 99);
    if (!number) return "expected a system number from 00 to 99";
    system.sysnr = static_cast<int32_t>(*number);
  } else if (key == "CPU_ROWS") {
    const auto rows = Number(value, 0, 100000);
    if (!rows) return "expected a number of rows from 0 to 100000";
    system.cpuRows = static_cast<uint32_t>(*rows);
  } else if (key.starts_with("FAIL.")) {
    return ApplyFailure(system, key, value);
  } else {
    return ApplyValue(system, key, value);
  }
  return {};
}

void ApplyDerivedDefaults(SystemDescription& system) {
  Default(system, "RFCDEST", system.destination);
  Default(system, "RFCSYSID", system.destination);
  Default(system, "SYSID", system.destination);
  Default(system, "RFCHOST", system.host.value_or(""));
}

}  // namespace rfcsim
