#pragma once
#include <string>

namespace tavorine {

// A numbered message that ends the run (output/messages.h makes them all): the
// program puts it into the error envelope, prints it and ends with exit status 2.
struct RunFailure {
  std::string message;
};

}  // namespace tavorine
