#pragma once
// The simulated ERP systems, as read from RfcSim.txt in the working directory.
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace rfcsim {

// A call that answers with a code other than 0. The exception name is sent
// with codes 2 and 3.
struct CallFailure {
  int32_t code = 1;
  std::string exception;
};

// Failures to inject for one system. Maps are keyed by function-module name.
struct Injections {
  std::optional<std::string> logonRefused;  // the reason given in the trace
  std::optional<std::string> callbackAtLogon;
  std::map<std::string, CallFailure, std::less<>> atCall;
  std::map<std::string, CallFailure, std::less<>> atReceive;
  std::map<std::string, std::string, std::less<>> callbackAtCall;
  std::map<std::string, std::string, std::less<>> callbackAtReceive;
  std::set<std::string, std::less<>> itCreate;   // table names
  std::set<std::string, std::less<>> itGetLine;  // table names
  std::set<std::string, std::less<>> itDelete;   // table names
  std::set<std::string, std::less<>> install;    // structure names
};

// How the system answers over the network, in milliseconds. A step is the
// logon ("LOGON") or one function module's call.
struct NetworkConduct {
  std::optional<uint32_t> logonLatency;
  std::optional<uint32_t> callLatency;
  std::map<std::string, uint32_t, std::less<>> functionLatency;  // wins over callLatency
  std::optional<uint32_t> jitter;  // up to this much more at each step
  std::optional<std::string> hang;   // the step that never answers
  std::optional<std::string> crash;  // the step that ends the process
};

struct SystemDescription {
  std::string destination;
  // Logon data; what the description leaves out is not checked.
  std::optional<std::string> client;
  std::optional<std::string> user;  // upper-cased
  std::optional<std::string> password;
  std::optional<std::string> language;
  std::optional<std::string> host;
  std::optional<int32_t> sysnr;
  std::optional<std::string> gatewayHost;
  std::optional<std::string> gatewayService;
  // Encoded bytes of the fields and scalar parameters the description sets,
  // by their upper-case names; the others are sent with their defaults. A
  // system sets a few dozen at most: a list holds them more cheaply than a map.
  std::vector<std::pair<std::string_view, std::string>> values;
  uint32_t cpuRows = 1;
  Injections failures;
  NetworkConduct network;  // with what [defaults] gives and the system does not

  // The bytes the description sets for a value, none when it sets none.
  const std::string* Value(std::string_view name) const;
};

struct DescriptionProblem {
  size_t line = 0;
  std::string text;
};

// A group run starts a process for each system, and every process reads the
// whole file: the file is checked line by line, but a system is built only
// when a logon asks for it, so a process holds its text and one system, not
// a thousand.
class Description {
 public:
  struct Section {
    size_t line = 0;  // of its header
    size_t begin = 0;  // offsets in the text, from the header to the next one
    size_t end = 0;
  };

  std::vector<DescriptionProblem> problems;

  const SystemDescription* Find(std::string_view destination) const;
  std::vector<std::string> Destinations() const;  // upper-cased, in no order

 private:
  friend Description ParseDescription(std::string text);

  std::string text_;
  std::unordered_map<std::string, Section> sections_;  // by upper-cased destination
  NetworkConduct defaults_;
  mutable std::unordered_map<std::string, SystemDescription> built_;  // nodes keep their places
};

// Reads the text of RfcSim.txt. Never fails: every line it cannot use is a
// problem with its line number, and the systems read so far stay usable.
Description ParseDescription(std::string text);

std::string UpperCase(std::string_view text);

}  // namespace rfcsim
