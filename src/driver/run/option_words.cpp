#include "driver/run/option_words.h"

#include <algorithm>
#include <array>
#include <vector>

#include "output/messages.h"
#include "platform/text/ascii_case.h"

namespace tavorine {

namespace {

constexpr std::string_view kMarkers = "#@$%";
constexpr std::size_t kItemTextLimit = 90;
constexpr std::size_t kChannelDigits = 3;

// An options text as typed, and upper-cased: the words are found in the
// second, their values read from the first at the same place.
struct OptionsText {
  explicit OptionsText(std::string_view typed) : asGiven(typed), upper(AsciiUpperCase(typed)) {}

  // Where the value after the word begins; none without the word.
  std::optional<std::size_t> ValueStart(std::string_view word) const {
    const std::size_t at = upper.find(word);
    if (at == std::string::npos) return std::nullopt;
    return std::min(at + word.size(), asGiven.size());
  }

  // The text as typed after the word, up to the next comma or blank.
  std::optional<std::string> Value(std::string_view word) const {
    const std::optional<std::size_t> start = ValueStart(word);
    if (!start) return std::nullopt;
    const std::string_view rest = asGiven.substr(*start);
    return std::string(rest.substr(0, rest.find_first_of(", ")));
  }

  bool Has(std::string_view word) const { return upper.find(word) != std::string::npos; }

  std::string_view asGiven;
  std::string upper;
};

// The value of digits alone, leading zeros counting for nothing ("0055" is
// 55); empty optional for any other text or a value above highest.
std::optional<int> DecimalNumber(std::string_view digits, int highest) {
  if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
  int number = 0;
  for (const char digit : digits) {
    number = number * 10 + (digit - '0');
    if (number > highest) return std::nullopt;
  }
  return number;
}

// The number after an option word: empty optional without the word; a
// failure when what follows it is no number within the range.
std::variant<std::optional<int>, RunFailure> Number(const OptionsText& options, std::string_view word, int lowest,
                                                    int highest) {
  const std::optional<std::string> value = options.Value(word);
  if (!value) return std::optional<int>();
  const std::optional<int> number = DecimalNumber(*value, highest);
  if (!number || *number < lowest) return messages::OptionOutOfRange(word, lowest, highest);
  return number;
}

// As a C atoi reads: blanks, a sign, digits; 0 without digits.
int LeadingInteger(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r'))) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  int value = 0;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) value = value * 10 + (text[at] - '0');
  return negative ? -value : value;
}

// "CH=": at most three characters as typed after it, none from a comma on.
ChannelSelection Channel(const OptionsText& options) {
  const std::optional<std::size_t> start = options.ValueStart("CH=");
  if (!start) return {};
  std::string_view digits = options.asGiven.substr(*start, kChannelDigits);
  digits = digits.substr(0, digits.find(','));
  return {true, LeadingInteger(digits)};
}

// "MODE=" and the mode's name, in any letter case; EXEXML without the word.
std::optional<OutputMode> Mode(const OptionsText& options) {
  constexpr std::string_view kWord = "MODE=";
  const std::size_t at = options.upper.find(kWord);
  if (at == std::string::npos) return OutputMode::EXEXML;
  std::string_view name = std::string_view(options.upper).substr(at + kWord.size());
  return OutputModeNamed(name.substr(0, name.find_first_of(" ,")));
}

// "ITEM=": up to the first blank or comma, at most 90 characters, ":" read as a blank.
std::optional<std::string> Item(const OptionsText& options) {
  const std::optional<std::size_t> start = options.ValueStart("ITEM=");
  if (!start) return std::nullopt;
  std::string item(options.asGiven.substr(*start));
  item = item.substr(0, std::min(item.find_first_of(" ,"), kItemTextLimit));
  std::replace(item.begin(), item.end(), ':', ' ');
  return item;
}

// Every option word, as the text must hold it.
struct Word {
  std::string_view spelling;
  bool takesValue;
};
constexpr std::array<Word, 10> kWords{{{"ITEM=", true},
                                       {"CH=", true},
                                       {",SYSLOG", false},
                                       {",HOST=", true},
                                       {",NO=", true},
                                       {",LIMITS", false},
                                       {",DETAIL", false},
                                       {",PAR=", true},
                                       {",TIMEOUT=", true},
                                       {"MODE=", true}}};

// What a piece of the options between blanks and commas was likely meant
// to be, when it is no option word: empty when it looks like none.
std::string Doubt(std::string_view piece, bool afterComma) {
  const std::size_t equals = piece.find('=');
  const std::string name = AsciiUpperCase(piece.substr(0, equals == piece.npos ? piece.size() : equals + 1));
  if (name.empty()) return {};
  for (const Word& word : kWords) {
    const bool needsComma = word.spelling.front() == ',';
    const std::string_view bare = needsComma ? word.spelling.substr(1) : word.spelling;
    if (name == bare) {
      return needsComma && !afterComma ? std::string(piece) + ": no option word without its comma; write " +
                                             std::string(word.spelling) + std::string(piece.substr(bare.size()))
                                       : std::string();
    }
  }
  for (const Word& word : kWords) {
    const std::string_view bare = word.spelling.front() == ',' ? word.spelling.substr(1) : word.spelling;
    if (word.takesValue != (name.back() == '=')) continue;
    if (name.size() >= 4 && EditDistance(name, bare) <= 2) {
      return std::string(piece) + ": no option word; " + std::string(word.spelling) + " was meant?";
    }
  }
  return {};
}

}  // namespace

std::string TellOptions(std::string_view optionsAsGiven) {
  const OptionsText options(optionsAsGiven);
  std::string understood;
  for (const Word& word : kWords) {
    if (!options.Has(word.spelling)) continue;
    const std::size_t at = options.upper.find(word.spelling);
    understood += " " + std::string(optionsAsGiven.substr(at, word.spelling.size()));
    if (word.takesValue) understood += options.Value(word.spelling).value_or("");
  }
  for (const char marker : kMarkers) {
    if (options.upper.find(marker) != std::string::npos) understood += std::string(" ") + marker;
  }
  std::string told = "Options: " + (optionsAsGiven.empty() ? std::string("(none)") : "\"" + std::string(optionsAsGiven) + "\"");
  told += "\n  understood:" + (understood.empty() ? std::string(" no option word") : understood);
  std::size_t start = 0;
  while (start < optionsAsGiven.size()) {
    const std::size_t end = std::min(optionsAsGiven.find_first_of(", ", start), optionsAsGiven.size());
    const std::string doubt = Doubt(optionsAsGiven.substr(start, end - start), start > 0 && optionsAsGiven[start - 1] == ',');
    if (!doubt.empty()) told += "\n  " + doubt;
    start = end + 1;
  }
  return told;
}

bool HoldsOptionWords(std::string_view text) {
  const OptionsText options(text);
  return options.upper.find_first_of(kMarkers) != std::string::npos ||
         std::any_of(kWords.begin(), kWords.end(), [&](const Word& word) { return options.Has(word.spelling); });
}

std::variant<OptionWords, RunFailure> ReadOptionWords(std::string_view optionsAsGiven) {
  const OptionsText options(optionsAsGiven);
  OptionWords words;
  words.runLog = options.Has(",SYSLOG");
  words.logon = {options.Value(",HOST="), options.Value(",NO=")};
  words.channel = Channel(options);
  words.limits = options.Has(",LIMITS");
  words.detail = options.Has(",DETAIL");
  auto parallel = Number(options, ",PAR=", 1, kMostParallelChecks);
  if (const auto* failure = std::get_if<RunFailure>(&parallel)) return *failure;
  words.parallelChecks = std::get<std::optional<int>>(parallel).value_or(kDefaultParallelChecks);
  auto timeout = Number(options, ",TIMEOUT=", 1, kLongestTimeout);
  if (const auto* failure = std::get_if<RunFailure>(&timeout)) return *failure;
  words.timeoutSeconds = std::get<std::optional<int>>(timeout);
  return words;
}

std::variant<CommandLineWords, RunFailure> ReadCommandLineWords(std::string_view optionsAsGiven) {
  const OptionsText options(optionsAsGiven);
  const std::optional<OutputMode> mode = Mode(options);
  if (!mode) return messages::UnknownOutputMode("MODE=");
  CommandLineWords words;
  words.outputMode = *mode;
  words.consoleTrace = options.upper.find_first_of(kMarkers) != std::string::npos;
  words.profileAsNamed = options.Has("@");
  words.item = Item(options);
  return words;
}

std::string ParametersText(std::string_view optionsAsGiven) {
  std::string_view text = optionsAsGiven.substr(0, optionsAsGiven.find('#'));
  text = text.substr(0, text.find('@'));
  if (text == "(Parameters " || text == "(No ") text = {};
  return text.empty() ? "(No Parameters)" : std::string(text);
}

std::string GroupStartOptions(std::string_view optionsAsGiven) {
  std::string shown(optionsAsGiven);
  std::replace(shown.begin(), shown.end(), ':', ' ');
  shown.resize(std::min(shown.size(), shown.find(" @")));
  return shown;
}

std::string_view OptionWordsHelp() {
  return R"(OPTIONS       words, in any letter case, found anywhere in the options:
  ITEM=name   check the group listed in "Kestrion.Prf" under this item
  CH=n        Brantle form: print only the value of channel n
  ,SYSLOG     append run-log lines to Tavorine.log in the working directory
  ,HOST=name  log on to this application server instead of the profile's
  ,NO=nn      log on with this system number instead of the profile's
  ,LIMITS     channels carry the monitor's error limit: a count above 0 is
              an error (set it when the sensor is made: the monitor reads
              limits only when it creates a channel)
  ,DETAIL     a group sensor's text names its failed systems; a refused
              logon's message ends with the library trace's last message
  ,TIMEOUT=n  end the run after n seconds (1 to 900) with a message of its
              own; set it a few seconds below the sensor's timeout
  ,PAR=n      a group sensor checks n systems at once (1 to 64, default 8)
  MODE=name   output form: EXEXML (default), Glimmet, Tolvane (all XML),
              Corvanta or Brantle (plain text)
  # @ $ %     print progress lines around the document; "@" also opens the
              profile where PROFILE names it instead of searching the monitor's
              folders
)";
}

}  // namespace tavorine
