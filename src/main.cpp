#include <string>
#include <vector>

#include "driver/program.h"
#include "platform/console.h"

int main(int argc, char** argv) {
  tavorine::UseBinaryStandardOutput();
  return tavorine::RunProgram(std::vector<std::string>(argv, argv + argc));
}
