#include "driver/run_limits.h"

#include <string>
#include <string_view>

#include "output/messages.h"
#include "rfc/logon.h"

namespace tavorine {

namespace {

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
std::variant<std::optional<int>, RunFailure> Number(std::string_view optionsText, std::string_view optionsAsGiven,
                                                    std::string_view word, int lowest, int highest) {
  const std::optional<std::string> value = OptionValue(optionsText, optionsAsGiven, word);
  if (!value) return std::optional<int>();
  const std::optional<int> number = DecimalNumber(*value, highest);
  if (!number || *number < lowest) return messages::OptionOutOfRange(word, lowest, highest);
  return number;
}

}  // namespace

std::variant<RunLimits, RunFailure> ReadRunLimits(std::string_view optionsText, std::string_view optionsAsGiven) {
  RunLimits limits;
  auto parallel = Number(optionsText, optionsAsGiven, ",PAR=", 1, kMostParallelChecks);
  if (const auto* failure = std::get_if<RunFailure>(&parallel)) return *failure;
  limits.parallelChecks = std::get<std::optional<int>>(parallel).value_or(kDefaultParallelChecks);
  auto timeout = Number(optionsText, optionsAsGiven, ",TIMEOUT=", 1, kLongestTimeout);
  if (const auto* failure = std::get_if<RunFailure>(&timeout)) return *failure;
  limits.timeoutSeconds = std::get<std::optional<int>>(timeout);
  return limits;
}

}  // namespace tavorine
