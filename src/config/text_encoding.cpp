#include "config/text_encoding.h"

namespace tavorine {

std::string EncodingProblem(std::string_view head) {
  if (head.starts_with("\xFF\xFE") || head.starts_with("\xFE\xFF") || head.find('\0') != std::string_view::npos) {
    return "it is saved as Unicode (UTF-16), as Notepad's \"Unicode\" saves it";
  }
  if (head.starts_with("\xEF\xBB\xBF")) return "it begins with a UTF-8 byte order mark, which its first line then holds";
  return {};
}

}  // namespace tavorine
