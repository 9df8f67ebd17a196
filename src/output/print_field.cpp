#include "output/print_field.h"

namespace tavorine {

std::string PrintField(std::string_view label, int indent, int width, std::string_view value) {
  std::string line(static_cast<std::size_t>(indent > 0 ? indent : 0), ' ');
  line += label;
  if (width > 0 && label.size() < static_cast<std::size_t>(width)) line.append(static_cast<std::size_t>(width) - label.size(), ' ');
  line += " : ";
  line += value;
  line += '\n';
  return line;
}

}  // namespace tavorine
