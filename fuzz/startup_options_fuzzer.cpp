// Start-up's reading of the command line, and the readers of option values
// that the run applies to what it keeps. The input is up to four arguments
// (the program's path first), separated by NUL bytes.
#include <variant>

#include "config/profile_data.h"
#include "driver/startup.h"
#include "fuzz_input.h"
#include "output/channel_text.h"
#include "output/output_mode.h"
#include "rfc/logon.h"

namespace {

void ReadOptionValues(const tavorine::RunOptions& options) {
  const std::string& text = options.optionsText;
  const std::string& asGiven = options.optionsAsGiven;
  fuzz::Check(text.size() == asGiven.size(), "the upper-cased options keep the length as typed");
  const tavorine::ChannelSelection channel = tavorine::ReadChannelSelection(text, asGiven);
  fuzz::Check(channel.channel > -1000 && channel.channel < 1000, "a channel number has at most three characters");
  for (const std::string_view word : {",HOST=", ",NO=", "ITEM=", "CH=", ",SYSLOG"}) {
    if (const auto value = tavorine::OptionValue(text, asGiven, word)) {
      fuzz::Check(value->find_first_of(", ") == std::string::npos, "an option value ends at a comma or blank");
    }
  }
  tavorine::ProfileData profile;
  profile.Sysnr = "00";
  profile.Hostname = "host";
  tavorine::LogonRecords records;
  tavorine::FillOpenOptions(profile, text, asGiven, records);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> arguments = fuzz::Parts(fuzz::Text(data, size), 4);
  const auto result = tavorine::StartUp(arguments, "12:00:00");
  if (const auto* options = std::get_if<tavorine::RunOptions>(&result)) {
    fuzz::Check(tavorine::SelectedOutputMode(options->optionsText) == options->outputMode, "one output mode");
    fuzz::Check(options->profileDir.empty() ||
                    tavorine::ProfileNameSeparators(*options).find(options->profileDir.back()) != std::string::npos,
                "a directory ends in a separator of its mode");
    fuzz::Check(options->itemText.size() <= 90, "the item holds at most 90 characters");
    ReadOptionValues(*options);
  } else {
    fuzz::Check(std::get<tavorine::RunFailure>(result).message.starts_with("Error 10"), "a numbered message");
  }
  return 0;
}
