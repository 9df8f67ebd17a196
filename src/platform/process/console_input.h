#pragma once
#include <functional>
#include <string>

namespace tavorine {

// Whether standard input is a terminal (a console on Windows), where what is
// typed shows as it is typed.
bool InputIsTerminal();

// What readLine reads from the terminal, with the terminal's echo off
// meanwhile: a password typed there must not show. The echo comes back also
// when a signal ends the program while it waits.
std::string ReadWithoutEcho(const std::function<std::string()>& readLine);

}  // namespace tavorine
