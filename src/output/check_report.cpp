#include "output/check_report.h"

#include "output/messages.h"
#include "output/program_name.h"
#include "output/xml_text.h"

namespace tavorine {

std::string_view StepName(CheckStep step) {
  switch (step) {
    case CheckStep::Logon: return "logon";
    case CheckStep::CpuRead: return "GET_CPU_ALL";
    case CheckStep::SystemInfo:
    case CheckStep::DatabaseTest: return "RFC_SYSTEM_INFO";
    case CheckStep::MissingObjects:
    case CheckStep::Done: return "DB02_DB4_GET_INFO";
  }
  return {};
}

void WriteMissingObjectsDocument(ResultDocument& document, std::string_view destination,
                                 const DictionaryState& state) {
  document.DocOpen();
  document.DocTextOpen();
  std::string text = "(";
  text += destination;
  text += ") Tavorine: Info=";
  text += state.DBSYS;
  text += ",Date=";
  text += state.FS_A_DATE;
  text += ",Time=";
  text += state.FS_A_TIME;
  text += ",Sid=";
  text += state.SYSID;
  document.AppendText(text);
  document.DocTextClose();
  document.DocChannel("Abap Tables missing", std::to_string(state.TAB_MIS_DD), "");
  document.DocChannel("Abap Primary missing", std::to_string(state.IDX_MIS_DD), "");
  document.DocChannel("Abap Indexes missing", std::to_string(state.CST_MIS_DD), "");
  document.DocChannel("Abap Views missing", std::to_string(state.VIE_MIS_DD), "");
  document.DocClose();
}

std::string CallErrorText(const SystemOutcome& outcome) {
  switch (outcome.failedAt) {
    case CheckStep::CpuRead:
    case CheckStep::SystemInfo:
    case CheckStep::MissingObjects: return messages::CallFailed(outcome.callCode, outcome.exception).message;
    default: return {};
  }
}

bool TakesTraceText(const SystemOutcome& outcome, bool detail) {
  switch (outcome.failedAt) {
    case CheckStep::Done:
    case CheckStep::DatabaseTest: return false;
    case CheckStep::Logon: return detail && !outcome.logonFailure;
    default: return true;
  }
}

std::optional<RunFailure> SingleRunFailure(const SystemOutcome& outcome, std::string_view destination,
                                           std::string_view traceText, bool detail) {
  RunFailure failure;
  switch (outcome.failedAt) {
    case CheckStep::Done: return std::nullopt;
    case CheckStep::Logon:
      failure = outcome.logonFailure ? *outcome.logonFailure : messages::LogonFailed(destination);
      break;
    case CheckStep::DatabaseTest: failure = messages::DatabaseMismatch(); break;
    default: failure = messages::CallFailed(outcome.callCode, outcome.exception); break;
  }
  if (TakesTraceText(outcome, detail)) failure.message += traceText;
  // The error envelope is XML in every form.
  if (detail) failure.message = WithinTextLimit(failure.message, true);
  return failure;
}

std::optional<RunFailure> GroupRunFailure(const SystemOutcome& outcome, std::string_view traceText) {
  switch (outcome.failedAt) {
    case CheckStep::CpuRead:
    case CheckStep::SystemInfo: {
      RunFailure failure = messages::CallFailed(outcome.callCode, outcome.exception);
      failure.message += traceText;
      return failure;
    }
    case CheckStep::DatabaseTest: return messages::DatabaseMismatch();
    default: return std::nullopt;
  }
}

std::string NowProcessedLine(std::string_view time) {
  return "\n* " + std::string(time) + " SAP " + kProgramName + " now processed...\n";
}

}  // namespace tavorine
