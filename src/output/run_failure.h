#pragma once
#include <string>

namespace tavorine {

// A numbered message that ends the run (output/messages.h makes them all): the
// program puts it into the error envelope, prints it and ends with exit status 2.
struct RunFailure {
  int number = 0;  // the message's own: 1002 for "Error 1002: ..."; 0 for "Sorry, invalid Path-Usage..."
  std::string message;
};

}  // namespace tavorine
