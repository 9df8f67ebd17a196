#include "usage.h"

#include "field_rules.h"

namespace tavorine {

namespace {

std::string LimitLines() {
  std::string text;
  for (const ProfileField& field : kProfileFields) {
    std::string name = OptionOf(field);
    if (name.empty()) name = "password";
    name.resize(16, ' ');
    text += "  " + name + std::to_string(field.minimum) + " to " + std::to_string(field.capacity) + "\n";
  }
  return text;
}

}  // namespace

std::string UsageText() {
  return "Usage:\n"
         "  tavorine-profile write FILE --destination D --client C --user U --language L\n"
         "                   --mode M --hostname H --sysnr S --gwhost G --gwservice GS\n"
         "                   [--extcompany E] [--force]\n"
         "      Writes a new profile FILE. The password is read from the first line of\n"
         "      standard input, or asked for twice at the terminal without echo; it is\n"
         "      never taken from the command line. An existing FILE is replaced only\n"
         "      with --force. --extcompany defaults to \"Tavorine\".\n"
         "  tavorine-profile check FILE\n"
         "      Reads FILE as the sensor reads a profile and shows what it found (the\n"
         "      password only by its length) and whether the sensor accepts it.\n"
         "  tavorine-profile --help | --version\n"
         "\n"
         "Characters a value may have (values are taken exactly, blanks included):\n" +
         LimitLines() +
         "The password may hold printable ASCII characters except \"~\" and \"`\".\n"
         "\n"
         "Exit status: 0 written or accepted; 1 the sensor would refuse the profile\n"
         "(check); 2 a bad command line, a refused value or a file that cannot be\n"
         "read or written.\n";
}

}  // namespace tavorine
