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

// Reads the lines of RfcSim.txt, or of one section of it. It keeps where each
// system's section lies and only the system it read last.
class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

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

  void End() { Close(text_.size()); }

  std::vector<DescriptionProblem> problems;
  std::unordered_map<std::string, Description::Section> sections;
  NetworkConduct defaults;
  std::optional<SystemDescription> lastSystem;

 private:
  void Section(size_t number, std::string_view line) {
    Close(static_cast<size_t>(line.data() - text_.data()));
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
    const size_t begin = static_cast<size_t>(line.data() - text_.data());
    const auto [at, fresh] = sections.try_emplace(UpperCase(destination), Description::Section{number, begin, 0});
    if (!fresh) {
      return Problem(number, "system " + std::string(destination) + " described twice, first at line " +
                                 std::to_string(at->second.line));
    }
    skipping_ = false;
    current_.emplace();
    current_->destination = destination;
    currentSection_ = &at->second;
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
    const auto problem = ApplyNetworkKey(defaults, key, value);
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

  void Close(size_t end) {
    if (!current_) return;
    ApplyDerivedDefaults(*current_);
    currentSection_->end = end;
    lastSystem = std::move(current_);
    current_.reset();
  }

  void Problem(size_t number, std::string text) { problems.push_back({number, std::move(text)}); }

  std::string_view text_;
  std::optional<SystemDescription> current_;
  Description::Section* currentSection_ = nullptr;
  std::vector<std::string> keys_;  // of the current section
  bool skipping_ = false;
  bool inDefaults_ = false;
  size_t defaultsLine_ = 0;  // of the [defaults] header, 0 while there is none
};

}  // namespace

std::string UpperCase(std::string_view text) {
  std::string upper(text);
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
  return upper;
}

const SystemDescription* Description::Find(std::string_view destination) const {
  std::string key = UpperCase(destination);
  if (const auto built = built_.find(key); built != built_.end()) return &built->second;
  const auto found = sections_.find(key);
  if (found == sections_.end()) return nullptr;
  const Section& section = found->second;
  const std::string_view lines = std::string_view(text_).substr(section.begin, section.end - section.begin);
  Reader reader(lines);
  ForEachLine(lines, [&](size_t number, std::string_view line) { reader.Line(section.line + number - 1, line); });
  reader.End();
  SystemDescription& system = built_.emplace(std::move(key), std::move(*reader.lastSystem)).first->second;
  InheritNetwork(system.network, defaults_);
  return &system;
}

std::vector<std::string> Description::Destinations() const {
  std::vector<std::string> destinations;
  for (const auto& [destination, section] : sections_) destinations.push_back(destination);
  return destinations;
}

const std::string* SystemDescription::Value(std::string_view name) const {
  for (const auto& [valueName, bytes] : values) {
    if (valueName == name) return &bytes;
  }
  return nullptr;
}

Description ParseDescription(std::string text) {
  Description description;
  description.text_ = std::move(text);
  Reader reader(description.text_);
  ForEachLine(description.text_, [&reader](size_t number, std::string_view line) { reader.Line(number, line); });
  reader.End();
  description.problems = std::move(reader.problems);
  description.sections_ = std::move(reader.sections);
  description.defaults_ = std::move(reader.defaults);
  return description;
}

}  // namespace rfcsim
