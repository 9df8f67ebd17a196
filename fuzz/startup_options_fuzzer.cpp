// Start-up's reading of the command line and of the option words. The input
// is up to four arguments (the program's path first), separated by NUL bytes.
#include <variant>

#include "driver/run/option_words.h"
#include "driver/startup/startup.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> arguments = fuzz::Parts(fuzz::Text(data, size), 4);
  const auto result = tavorine::StartUp(arguments);
  if (const auto* options = std::get_if<tavorine::RunOptions>(&result)) {
    fuzz::Check(options->profileDir.empty() ||
                    tavorine::ProfileNameSeparators(*options).find(options->profileDir.back()) != std::string::npos,
                "a directory ends in a separator of its mode");
    fuzz::Check(options->itemText.size() <= 90, "the item holds at most 90 characters");
    const tavorine::OptionWords& words = options->words;
    fuzz::Check(words.channel.channel > -1000 && words.channel.channel < 1000,
                "a channel number has at most three characters");
    for (const auto& value : {words.logon.host, words.logon.systemNumber}) {
      fuzz::Check(!value || value->find_first_of(", ") == std::string::npos, "an option value ends at a comma or blank");
    }
    fuzz::Check(words.parallelChecks >= 1 && words.parallelChecks <= tavorine::kMostParallelChecks, ",PAR= in range");
  } else {
    fuzz::Check(std::get<tavorine::RunFailure>(result).message.starts_with("Error 10"), "a numbered message");
  }
  return 0;
}
