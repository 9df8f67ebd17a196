#include "output/messages.h"

namespace tavorine::messages {

namespace {

using Name = std::string_view;

constexpr std::string_view kNumberedHead = "Error ";

// The number a message carries is read from its head, so the two cannot differ.
RunFailure Numbered(std::string text) {
  int number = 0;
  if (text.starts_with(kNumberedHead)) {
    for (std::size_t i = kNumberedHead.size(); i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
      number = number * 10 + (text[i] - '0');
    }
  }
  return {number, std::move(text)};
}

// Messages are a fixed head, a name and a fixed tail, as they always were.
RunFailure Named(std::string_view head, std::string_view name, std::string_view tail) {
  std::string text(head);
  text += name;
  text += tail;
  return Numbered(std::move(text));
}

}  // namespace

RunFailure ProfileNameMissing() { return Numbered("Error 1001: Parameter for Profile-Name is missing !"); }
RunFailure ProfileMissing(std::string_view name) { return Named("Error 1002: Profile ", name, " is missing..."); }
RunFailure InvalidParameters(Name name) { return Named("Error 1003: Invalid Parameter(s) at ", name, " found..."); }
RunFailure InvalidPassword(Name name) { return Named("Error 1004: Invalid Password in Profile ", name, " found..."); }
RunFailure WrongPassword(Name name) { return Named("Error 1005: Wrong Password in Profile ", name, " found..."); }
RunFailure UsernameMissing(Name name) { return Named("Error 1006: Username in Profile ", name, " is missing..."); }
RunFailure PasswordMissing(Name name) { return Named("Error 1007: Password in Profile ", name, " is missing..."); }
RunFailure LogonFailed(std::string_view destination) {
  return Named("Error 1011: RFC-Open for ", destination, " failed !");
}
RunFailure ExceptionRaised(std::string_view exception) { return Named("Error 1012: Exception.: ", exception, ""); }
RunFailure SysExceptionRaised() { return Numbered("Error 1013: Sys-Exception raised !"); }
RunFailure RfcFailureRaised() { return Numbered("Error 1014: RFC-Failure raised !"); }
RunFailure OtherFailureRaised() { return Numbered("Error 1015: Other Failure raised !"); }
RunFailure CallFailed(std::int32_t code, std::string_view exception) {
  switch (code) {
    case 1: return RfcFailureRaised();
    case 2: return ExceptionRaised(exception);
    case 3: return SysExceptionRaised();
    default: return OtherFailureRaised();
  }
}
RunFailure DatabaseMismatch() { return Numbered("Error 1018: DataBase mismatch !"); }
RunFailure NoServerListing() { return Numbered("Error 1025: Global Server Listing missing..."); }
RunFailure NoItem() { return Numbered("Error 1026: Global Item Idenification missing..."); }
RunFailure SensorNotAllocated() { return Numbered("Error 1029: Invalid Sensor-Allocation..."); }
RunFailure GlobalSensorNotFound(std::string_view sensor) {
  return Named("Error 1030: Global Sensor ", sensor, " not found...");
}
RunFailure InvalidPathUsage() { return Numbered("Sorry, invalid Path-Usage..."); }
RunFailure UnknownOutputMode(std::string_view word) {
  return Named("Error 1040: Unknown output mode in the options, use ", word,
               "EXEXML, Glimmet, Tolvane, Corvanta or Brantle...");
}

RunFailure LibraryNotFound(std::string_view name, const std::vector<std::string>& places) {
  std::string looked;
  for (const std::string& place : places) looked += (looked.empty() ? "" : " nor at ") + place;
  return Named("Error 1041: RFC library " + std::string(name) + " not found at ", looked, "...");
}
RunFailure LibraryLacksRoutine(std::string_view path, std::string_view routine) {
  return Named("Error 1042: RFC library " + std::string(path) + " lacks the routine ", routine, "...");
}
RunFailure LibraryNotLoaded(std::string_view path, std::string_view reason) {
  return Named("Error 1043: RFC library ", path, " cannot be loaded: " + std::string(reason) + "...");
}
RunFailure SapRfcIniLocked(int seconds) {
  return Named("Error 1044: Waited ", std::to_string(seconds),
               " s for SapRfc.ini.lck: another sensor's logon through SapRfc.ini did not end...");
}
RunFailure FileTooLarge(std::string_view name) { return Named("Error 1045: File ", name, " is larger than 16 MB..."); }
RunFailure InternalFailure(std::string_view what) { return Named("Error 1046: Internal failure: ", what, "..."); }
RunFailure NoAnswer(int seconds, std::string_view destination, std::string_view step) {
  return Named("Error 1047: No answer within " + std::to_string(seconds) + " s from ", destination,
               " at " + std::string(step) + "...");
}
RunFailure OptionOutOfRange(std::string_view word, int lowest, int highest) {
  return Named("Error 1048: Option ", word,
               " needs a number from " + std::to_string(lowest) + " to " + std::to_string(highest) + "...");
}

}  // namespace tavorine::messages
