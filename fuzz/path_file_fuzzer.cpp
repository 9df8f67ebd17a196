// The path file "C:\PRTG_Path.Txt" and the ExeXml test of what it names.
#include "config/sensor_directory.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = fuzz::Text(data, size);
  tavorine::TextStream stream(text, fuzz::ReadSize(text));
  const std::string directory = tavorine::PathFileDirectory(stream);
  fuzz::Check(directory.size() <= 99, "a directory is one piece of at most 99 characters");
  fuzz::Check(directory.find('\n') == std::string::npos, "a directory holds no line feed");
  if (!directory.empty()) {
    fuzz::Check(directory[0] == '\\' || (directory.size() >= 2 && directory[1] == ':') ||
                    (directory.size() >= 3 && directory[2] == '\\'),
                "a directory line names a directory");
  }
  tavorine::IsExeXmlDirectory(directory);
  tavorine::IsExeXmlDirectory(text);
  return 0;
}
