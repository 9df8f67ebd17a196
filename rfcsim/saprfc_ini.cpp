#include "saprfc_ini.h"

#include <charconv>

#include "text.h"

namespace rfcsim {
namespace {

std::string IniLine(IniFile& ini, std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() == '*' || line.front() == '#') return {};
  const size_t equals = line.find('=');
  if (equals == std::string_view::npos) return "expected KEY=value";
  const std::string key = UpperCase(Trim(line.substr(0, equals)));
  const std::string_view value = Trim(line.substr(equals + 1));
  if (key == "DEST") {
    if (value.empty()) return "DEST without a name";
    ini.destinations.emplace_back().name = value;
    return {};
  }
  if (ini.destinations.empty()) return key + " before the first DEST=";
  IniDestination& entry = ini.destinations.back();
  if (key == "TYPE") entry.type = UpperCase(value);
  if (key == "ASHOST") entry.ashost = std::string(value);
  if (key == "GWHOST") entry.gwhost = std::string(value);
  if (key == "GWSERV") entry.gwserv = std::string(value);
  if (key == "SYSNR") {
    int32_t number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (value.empty() || error != std::errc() || end != value.data() + value.size() || number < 0 || number > 99) {
      return "SYSNR must be a number from 00 to 99";
    }
    entry.sysnr = number;
  }
  return {};
}

}  // namespace

const IniDestination* IniFile::Find(std::string_view destination) const {
  const std::string wanted = UpperCase(destination);
  for (const IniDestination& entry : destinations) {
    if (UpperCase(entry.name) == wanted) return &entry;
  }
  return nullptr;
}

IniFile ParseSapRfcIni(std::string_view text) {
  IniFile ini;
  ForEachLine(text, [&ini](size_t number, std::string_view line) {
    if (std::string problem = IniLine(ini, line); !problem.empty()) ini.problems.push_back({number, problem});
  });
  return ini;
}

std::optional<ConnectString> ParseConnectString(std::string_view text) {
  constexpr std::string_view kClient = "CLIENT=", kUser = " USER=", kPassword = " PASSWD=", kLanguage = " LANG=",
                             kDestination = " DEST=";
  if (!text.starts_with(kClient)) return std::nullopt;
  const size_t user = text.find(kUser);
  const size_t password = user == std::string_view::npos ? user : text.find(kPassword, user + kUser.size());
  const size_t language = text.rfind(kLanguage);
  const size_t destination = language == std::string_view::npos ? language : text.find(kDestination, language);
  if (password == std::string_view::npos || destination == std::string_view::npos ||
      language < password + kPassword.size()) {
    return std::nullopt;
  }
  ConnectString parts;
  parts.client = text.substr(kClient.size(), user - kClient.size());
  parts.user = text.substr(user + kUser.size(), password - user - kUser.size());
  parts.password = text.substr(password + kPassword.size(), language - password - kPassword.size());
  parts.language = text.substr(language + kLanguage.size(), destination - language - kLanguage.size());
  parts.destination = text.substr(destination + kDestination.size());
  return parts;
}

}  // namespace rfcsim
