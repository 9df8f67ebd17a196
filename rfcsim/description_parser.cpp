#include <algorithm>
#include <vector>

#include "description.h"
#include "description_keys.h"
#include "network_keys.h"
#include "text.h"

namespace rfcsim {
namespace {

// Double quotes keep a value's outer blanks: RFCDBSYS = "DB4       ".
std::string_view Unquoted(std::string_view value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') return value.substr(1, value.size() - 2);
  return value;
}

class Reader {
 public:
  void Line(size_t number, std::string_view line) {
    line = Trim(line);
    if (line.empty() || line.front() == '#' || line.front() == ';') return;
    if (line.front() == '[') return Section(number, line);
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) return Problem(number, "expected [system NAME] or key = value");
    if (skipping_) return;
    const std::string key = UpperCase(Trim(line.substr(0, equals)));
    const std::string_view value = Unquoted(Trim(line.substr(equals + 1)));
    if (inDefaults_) return DefaultsKey(number, key, value);
    if (!current_) return Problem(number, "key outside a [system NAME] section");
    Key(number, key, value);
  }

  Description Finish() {
    Close();
    for (SystemDescription& system : description_.systems) InheritNetwork(system.network, defaults_);
    return std::move(description_);
  }

 private:
  void Section(size_t number, std::string_view line) {
    Close();
    skipping_ = true;
    inDefaults_ = false;
    keys_.clear();
    constexpr std::string_view kBadHeader = "section header must be [system NAME] or [defaults]";
    if (line.back() != ']') return Problem(number, std::string(kBadHeader));
    const std::string_view inner = Trim(line.substr(1, line.size() - 2));
    if (UpperCase(inner) == "DEFAULTS") return Defaults(number);
    const size_t blank = inner.find_first_of(" \t");
    const std::string_view destination = blank == std::string_view::npos ? "" : Trim(inner.substr(blank));
    if (UpperCase(inner.substr(0, blank)) != "SYSTEM" || destination.empty() ||
        destination.find_first_of(" \t") != std::string_view::npos) {
      return Problem(number, std::string(kBadHeader));
    }
    const auto [at, fresh] = description_.byDestination.try_emplace(UpperCase(destination), description_.systems.size());
    if (!fresh) {
      return Problem(number, "system " + std::string(destination) + " described twice, first at line " +
                                 std::to_string(description_.systems[at->second].line));
    }
    skipping_ = false;
    current_.emplace();
    current_->destination = destination;
    current_->line = number;
  }

  void Defaults(size_t number) {
    if (defaultsLine_ != 0) {
      return Problem(number, "[defaults] given twice, first at line " + std::to_string(defaultsLine_));
    }
    defaultsLine_ = number;
    skipping_ = false;
    inDefaults_ = true;
  }

  void DefaultsKey(size_t number, const std::string& key, std::string_view value) {
    if (!FirstTime(key)) return Problem(number, key + " given twice");
    const auto problem = ApplyNetworkKey(defaults_, key, value);
    if (!problem) return Problem(number, key + ": only latency, jitter, hang and crash keys can stand in [defaults]");
    if (!problem->empty()) Problem(number, *problem);
  }

  void Key(size_t number, const std::string& key, std::string_view value) {
    if (!FirstTime(key)) return Problem(number, key + " given twice");
    const std::string problem = ApplyDescriptionKey(*current_, key, value);
    if (!problem.empty()) Problem(number, problem);
  }

  // Whether the section has not had the key before. A section has a dozen or
  // two keys, which a plain list searches faster than a hash set is filled.
  bool FirstTime(const std::string& key) {
    if (std::find(keys_.begin(), keys_.end(), key) != keys_.end()) return false;
    keys_.push_back(key);
    return true;
  }

  void Close() {
    if (!current_) return;
    ApplyDerivedDefaults(*current_);
    description_.systems.push_back(std::move(*current_));
    current_.reset();
  }

  void Problem(size_t number, std::string text) { description_.problems.push_back({number, std::move(text)}); }

  Description description_;
  std::optional<SystemDescription> current_;
  std::vector<std::string> keys_;  // of the current section
  bool skipping_ = false;
  bool inDefaults_ = false;
  size_t defaultsLine_ = 0;  // of the [defaults] header, 0 while there is none
  NetworkConduct defaults_;
};

}  // namespace

std::string UpperCase(std::string_view text) {
  std::string upper(text);
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
  return upper;
}

const SystemDescription* Description::Find(std::string_view destination) const {
  const auto found = byDestination.find(UpperCase(destination));
  return found == byDestination.end() ? nullptr : &systems[found->second];
}

const std::string* SystemDescription::Value(std::string_view name) const {
  for (const auto& [valueName, bytes] : values) {
    if (valueName == name) return &bytes;
  }
  return nullptr;
}

Description ParseDescription(std::string_view text) {
  Reader reader;
  ForEachLine(text, [&reader](size_t number, std::string_view line) { reader.Line(number, line); });
  return reader.Finish();
}

}  // namespace rfcsim
