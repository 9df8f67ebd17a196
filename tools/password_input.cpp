#include "password_input.h"

#include <iostream>

#ifdef _WIN32
#include <windows.h>
#else
#include <termios.h>
#include <unistd.h>

#include <csignal>
#endif

namespace tavorine {

namespace {

std::string FirstLine() {
  std::string line;
  std::getline(std::cin, line);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

#ifdef _WIN32

bool InputIsTerminal() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
}

std::string LineWithoutEcho() {
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode = 0;
  GetConsoleMode(input, &mode);
  SetConsoleMode(input, mode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
  std::string line = FirstLine();
  SetConsoleMode(input, mode);
  return line;
}

#else

// The terminal's settings while echo is off. A signal handler, which is a C
// callback, has to reach them: an interrupted prompt must not leave the
// user's terminal silent.
struct termios gSavedTerminal;
volatile std::sig_atomic_t gEchoIsOff = 0;

extern "C" void RestoreEchoAndRaise(int signalNumber) {
  if (gEchoIsOff != 0) tcsetattr(STDIN_FILENO, TCSAFLUSH, &gSavedTerminal);
  std::signal(signalNumber, SIG_DFL);
  std::raise(signalNumber);
}

bool InputIsTerminal() { return isatty(STDIN_FILENO) != 0; }

std::string LineWithoutEcho() {
  if (tcgetattr(STDIN_FILENO, &gSavedTerminal) != 0) return FirstLine();
  struct termios silent = gSavedTerminal;
  silent.c_lflag &= ~static_cast<tcflag_t>(ECHO);
  for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) std::signal(signalNumber, RestoreEchoAndRaise);
  gEchoIsOff = 1;
  tcsetattr(STDIN_FILENO, TCSAFLUSH, &silent);
  std::string line = FirstLine();
  tcsetattr(STDIN_FILENO, TCSAFLUSH, &gSavedTerminal);
  gEchoIsOff = 0;
  for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) std::signal(signalNumber, SIG_DFL);
  return line;
}

#endif

std::string Prompted(const char* prompt) {
  std::cerr << prompt << std::flush;
  std::string line = LineWithoutEcho();
  std::cerr << '\n';
  return line;
}

}  // namespace

std::optional<std::string> ReadNewPassword() {
  if (!InputIsTerminal()) return FirstLine();
  std::string first = Prompted("Password for the profile: ");
  if (Prompted("The same password again: ") != first) return std::nullopt;
  return first;
}

}  // namespace tavorine
